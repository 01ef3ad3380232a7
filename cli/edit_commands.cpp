#include "cli/edit_commands.h"

#include "cli/command_line.h"
#include "cli/json_output.h"
#include "cli/settings_fields.h"
#include "cli/stage_state.h"
#include "core/chip_replacement.h"
#include "core/chip_uses.h"
#include "core/level_settings.h"
#include "core/object_lists.h"
#include "core/tile_map_words.h"

#include <QCommandLineParser>

#include <stdexcept>

namespace tamo::cli {

namespace {

// Lets change alter the image in memory, and writes the image back unless dry-run.
// change returns the details it reports; an error thrown by it leaves the file untouched,
// since nothing is written before it returns.
template<typename Change>
int editImage(const CliContext &context, StageState state, Change change)
{
    const std::vector<uint8_t> before = state.rom.bytes();
    const QJsonObject details = change(state);
    state.saveUnlessDryRun(context);
    QJsonObject result = editResultJson(before, state.rom.bytes(), !context.dryRun);
    for (auto it = details.begin(); it != details.end(); ++it)
        result.insert(it.key(), it.value());
    printJson(QJsonDocument(result));
    return 0;
}

// editImage on the stage of args[0] and args[1].
template<typename Change>
int editStage(const CliContext &context, const QStringList &args, Change change)
{
    return editImage(context, loadStageState(context, args[0], args[1]), change);
}

void requireModeZero(const Stage &stage)
{
    if (stage.ScreenMode != 0) {
        throw std::runtime_error(QStringLiteral("stage %1 is in screen mode %2; only screen "
                                                "mode 0 has an editable tile map")
                                     .arg(stage.LevelNumber)
                                     .arg(stage.ScreenMode)
                                     .toStdString());
    }
}

void requireRecord(int32_t index, size_t count, const char *listName, int32_t level)
{
    if (index < 0 || static_cast<size_t>(index) >= count) {
        throw std::runtime_error(QStringLiteral("%1 record %2 does not exist: the %1 list of "
                                                "stage %3 has %4 records")
                                     .arg(QLatin1String(listName))
                                     .arg(index)
                                     .arg(level)
                                     .arg(count)
                                     .toStdString());
    }
}

QJsonObject recordDetails(int64_t listOffset, int32_t index, int recordSize)
{
    return QJsonObject{{"offset", static_cast<qint64>(listOffset + int64_t(index) * recordSize)}};
}

void requireCell(const char *name, int32_t value, int32_t limit, int32_t level)
{
    if (value < 0 || value >= limit) {
        throw std::runtime_error(QStringLiteral("%1 %2 lies outside the map of stage %3 (0 to %4)")
                                     .arg(QLatin1String(name))
                                     .arg(value)
                                     .arg(level)
                                     .arg(limit - 1)
                                     .toStdString());
    }
}

LevelSettingsUpdate settingsUpdate(const QStringList &assignments)
{
    LevelSettingsUpdate update;
    for (const QString &assignment : assignments) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        if (equals < 0)
            throw UsageError(QStringLiteral("\"%1\" is not KEY=VALUE").arg(assignment).toStdString());
        const QString key = assignment.left(equals).trimmed();
        const SettingsField *field = findSettingsField(key);
        if (!field)
            throw std::runtime_error(QStringLiteral("unknown settings key \"%1\"").arg(key).toStdString());
        const QByteArray keyName = key.toUtf8();
        update.*field->update = integerArgument(assignment.mid(equals + 1).trimmed(), keyName.constData());
    }
    return update;
}

} // namespace

int runSetTile(const CliContext &context, const QStringList &args)
{
    const int32_t column = integerArgument(args[2], "COL");
    const int32_t row = integerArgument(args[3], "ROW");
    const int32_t word = integerArgument(args[4], "WORD");
    return editStage(context, args, [&](StageState &state) {
        const Stage stage = state.decode();
        requireModeZero(stage);
        requireCell("COL", column, stage.MapWidth, state.level);
        requireCell("ROW", row, stage.MapHeight, state.level);
        TileCellPatch(stage, column, row, static_cast<uint16_t>(word)).applyTo(state.rom);
        return QJsonObject{{"offset", static_cast<qint64>(TileCellOffset(stage, column, row))}};
    });
}

int runSetSprite(const CliContext &context, const QStringList &args)
{
    const int32_t index = integerArgument(args[2], "INDEX");
    SpriteRecord record;
    record.Param = integerArgument(args[3], "PARAM");
    record.X = integerArgument(args[4], "X");
    record.Y = integerArgument(args[5], "Y");
    record.Type = integerArgument(args[6], "TYPE");
    return editStage(context, args, [&](StageState &state) {
        const int32_t offset = SpriteListOffset(state.rom, state.offsets, state.level);
        const auto records = ReadSpriteList(state.rom, offset);
        requireRecord(index, records.size(), "sprite", state.level);
        WriteSpriteRecord(state.rom, offset, index, record);
        return recordDetails(offset, index, SpriteRecordSize);
    });
}

int runSetCamera(const CliContext &context, const QStringList &args)
{
    const int32_t index = integerArgument(args[2], "INDEX");
    CameraRecord record;
    record.X = integerArgument(args[3], "X");
    record.Y = integerArgument(args[4], "Y");
    return editStage(context, args, [&](StageState &state) {
        const int32_t block = CameraBlockOffset(state.rom, state.offsets, state.level);
        const auto records = ReadCameraList(state.rom, block);
        requireRecord(index, records.size(), "camera", state.level);
        WriteCameraRecord(state.rom, block, index, record);
        return recordDetails(block + CameraRecordsStart, index, CameraRecordSize);
    });
}

int runSetBanana(const CliContext &context, const QStringList &args)
{
    const int32_t index = integerArgument(args[2], "INDEX");
    BananaRecord record;
    record.Group = integerArgument(args[3], "GROUP");
    record.X = integerArgument(args[4], "X");
    record.Y = integerArgument(args[5], "Y");
    return editStage(context, args, [&](StageState &state) {
        const int32_t offset = BananaListOffset(state.rom, state.offsets, state.level);
        const auto records = ReadBananaList(state.rom, offset);
        requireRecord(index, records.size(), "banana", state.level);
        WriteBananaRecord(state.rom, offset, index, record);
        return recordDetails(offset, index, BananaRecordSize);
    });
}

int runSetSettings(const CliContext &context, const QStringList &args)
{
    const LevelSettingsUpdate update = settingsUpdate(args.mid(2));
    return editStage(context, args, [&](StageState &state) {
        WriteLevelSettings(state.rom, state.offsets, state.level, update);
        return QJsonObject{};
    });
}

int runReplaceChip(const CliContext &context, const QStringList &args)
{
    const QCommandLineParser &options = *context.options;
    ChipReplacement replacement;
    replacement.fromChip = chipArgument(args[1], "FROM");
    replacement.keepFlips = options.isSet(QStringLiteral("keep-flips"));
    const int32_t to = integerArgument(args[2], "TO");
    if (to < 0 || to > (replacement.keepFlips ? ChipBits : 0xFFFF)) {
        throw UsageError(QStringLiteral("TO: %1 is not %2")
                             .arg(args[2], replacement.keepFlips ? "a chip number (0 to 0x3FFF) with --keep-flips"
                                                                 : "a tile word (0 to 0xFFFF)")
                             .toStdString());
    }
    replacement.toWord = static_cast<uint16_t>(to);
    const bool oneStage = options.isSet(QStringLiteral("stage"));
    const int32_t level = oneStage ? stageArgument(options.value(QStringLiteral("stage"))) : 0;

    StageState state = loadRomState(context, args[0]);
    state.level = level;
    return editImage(context, std::move(state), [&](StageState &edited) {
        std::vector<ByteRun> words;
        if (oneStage) {
            requireModeZero(edited.decode());
            words = StageTileMapWords(edited.source(), level);
        } else {
            words = AllTileMapWords(edited.source());
        }
        const ChipReplaceEdit edit = ReplaceChipEdit(edited.rom, words, replacement);
        edit.patch.applyTo(edited.rom);
        return QJsonObject{{"cells", static_cast<qint64>(edit.cells)},
                           {"description", QString::fromStdString(edit.text)}};
    });
}

} // namespace tamo::cli
