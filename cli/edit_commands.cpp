#include "cli/edit_commands.h"

#include "cli/command_line.h"
#include "cli/json_output.h"
#include "cli/settings_fields.h"
#include "cli/stage_state.h"
#include "core/level_settings.h"
#include "core/object_lists.h"

#include <stdexcept>

namespace tamo::cli {

namespace {

// Loads the stage of args[0] and args[1], lets change alter the image in memory, and
// writes the image back unless dry-run. change returns the details it reports; an error
// thrown by it leaves the file untouched, since nothing is written before it returns.
template<typename Change>
int editStage(const CliContext &context, const QStringList &args, Change change)
{
    StageState state = loadStageState(context, args[0], args[1]);
    const std::vector<uint8_t> before = state.rom.bytes();
    const QJsonObject details = change(state);
    state.saveUnlessDryRun(context);
    QJsonObject result = editResultJson(before, state.rom.bytes(), !context.dryRun);
    for (auto it = details.begin(); it != details.end(); ++it)
        result.insert(it.key(), it.value());
    printJson(QJsonDocument(result));
    return 0;
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
        if (stage.ScreenMode != 0) {
            throw std::runtime_error(QStringLiteral("stage %1 is in screen mode %2; only screen "
                                                    "mode 0 has an editable tile map")
                                         .arg(state.level)
                                         .arg(stage.ScreenMode)
                                         .toStdString());
        }
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

} // namespace tamo::cli
