#include "cli/read_commands.h"

#include "cli/command_line.h"
#include "cli/json_output.h"
#include "cli/stage_state.h"
#include "core/chip_uses.h"
#include "core/level_settings.h"
#include "core/name_lists.h"
#include "core/object_lists.h"
#include "core/sprite_types.h"
#include "qtcommon/shift_jis_text.h"

namespace tamo::cli {

int runStages(const CliContext &context, const QStringList &)
{
    const IniFile offsetsIni = loadOffsetsIni(context);
    QJsonArray stages;
    for (int level = 0; level < LevelCount; ++level) {
        stages.append(QJsonObject{
            {"stage", level},
            {"key", QString::fromStdString(LevelKey(level))},
            {"name", fromShiftJis(LevelName(offsetsIni, level))},
        });
    }
    printJson(QJsonDocument(stages));
    return 0;
}

int runInfo(const CliContext &context, const QStringList &args)
{
    const StageState state = loadStageState(context, args[0], args[1]);
    const Stage stage = state.decode();
    const int32_t bananas = BananaListOffset(state.rom, state.offsets, state.level);
    printJson(QJsonDocument(stageInfoJson(stage, bananas)));
    return 0;
}

int runSprites(const CliContext &context, const QStringList &args)
{
    const StageState state = loadStageState(context, args[0], args[1]);
    const int32_t offset = SpriteListOffset(state.rom, state.offsets, state.level);
    // A list whose first record lies outside the image is an error naming the offset and
    // the image size, not an empty list; one that starts inside shows its whole records.
    state.rom.requireRange(offset, SpriteRecordSize, "Sprite list");
    QJsonArray records;
    int index = 0;
    for (const SpriteRecord &record : ReadSpriteList(state.rom, offset)) {
        const QString name = fromShiftJis(SpriteTypeName(state.spriteIni, record.Param, record.Type));
        records.append(spriteJson(index++, record, name));
    }
    printJson(QJsonDocument(listJson(offset, records)));
    return 0;
}

int runCameras(const CliContext &context, const QStringList &args)
{
    const StageState state = loadStageState(context, args[0], args[1]);
    const int32_t block = CameraBlockOffset(state.rom, state.offsets, state.level);
    state.rom.requireRange(int64_t(block) + CameraRecordsStart, CameraRecordSize, "Camera list");
    QJsonArray records;
    int index = 0;
    for (const CameraRecord &record : ReadCameraList(state.rom, block))
        records.append(cameraJson(index++, record));
    printJson(QJsonDocument(listJson(block, records)));
    return 0;
}

int runBananas(const CliContext &context, const QStringList &args)
{
    const StageState state = loadStageState(context, args[0], args[1]);
    const int32_t offset = BananaListOffset(state.rom, state.offsets, state.level);
    state.rom.requireRange(offset, BananaRecordSize, "Banana list");
    QJsonArray records;
    int index = 0;
    for (const BananaRecord &record : ReadBananaList(state.rom, offset))
        records.append(bananaJson(index++, record));
    printJson(QJsonDocument(listJson(offset, records)));
    return 0;
}

int runSettings(const CliContext &context, const QStringList &args)
{
    const StageState state = loadStageState(context, args[0], args[1]);
    printJson(QJsonDocument(settingsJson(ReadLevelSettings(state.rom, state.offsets, state.level))));
    return 0;
}

int runTiles(const CliContext &context, const QStringList &args)
{
    const StageState state = loadStageState(context, args[0], args[1]);
    const Stage stage = state.decode();
    QJsonArray rows;
    if (stage.ScreenMode == 0) {
        for (int32_t row = 0; row < stage.MapHeight; ++row) {
            QJsonArray words;
            for (int32_t column = 0; column < stage.MapWidth; ++column)
                words.append(state.rom.readWord(TileCellOffset(stage, column, row), "tile map cell"));
            rows.append(words);
        }
    }
    printJson(QJsonDocument(QJsonObject{
        {"width", stage.MapWidth}, {"height", stage.MapHeight}, {"rows", rows}}));
    return 0;
}

int runFindChip(const CliContext &context, const QStringList &args)
{
    const int32_t chip = chipArgument(args[1], "CHIP");
    const StageState state = loadRomState(context, args[0]);
    QJsonArray stages;
    for (const StageChipUses &uses : FindChipUses(state.source(), chip)) {
        QJsonArray cells;
        for (const CellPosition &cell : uses.cells)
            cells.append(QJsonArray{cell.column, cell.row});
        stages.append(QJsonObject{{"stage", uses.level}, {"cells", cells}});
    }
    printJson(QJsonDocument(QJsonObject{{"chip", chip}, {"stages", stages}}));
    return 0;
}

} // namespace tamo::cli
