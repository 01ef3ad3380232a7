#include "cli/json_output.h"

#include "cli/settings_fields.h"
#include "files/program_folder.h"

#include <QString>

#include <cstdio>

namespace tamo::cli {

void printJson(const QJsonDocument &document)
{
    const QByteArray text = document.toJson(QJsonDocument::Indented);
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
}

QJsonObject stageInfoJson(const Stage &stage, int32_t bananaListOffset)
{
    const QString chipFile = QString::fromStdString(ProgramFolder::chipBitmapName(stage.FGTilemap));
    return QJsonObject{
        {"stage", stage.LevelNumber},
        {"fg_word", stage.FGWord},
        {"fg_tilemap", stage.FGTilemap},
        {"tilemap_offset", stage.TilemapOffset},
        {"camera_block_offset", stage.CameraBlockOffset},
        {"sprite_list_offset", stage.SpriteListOffset},
        {"banana_list_offset", bananaListOffset},
        {"start_x", stage.StartX},
        {"start_y", stage.StartY},
        {"tilemap_start", stage.TilemapStart},
        {"tilemap_end", stage.TilemapEnd},
        {"screen_mode", stage.ScreenMode},
        {"map_width", stage.MapWidth},
        {"map_height", stage.MapHeight},
        {"chip_file", chipFile},
    };
}

QJsonObject settingsJson(const LevelSettings &settings)
{
    QJsonObject object;
    for (const SettingsField &field : settingsFields()) {
        const int32_t value = settings.*field.value;
        object.insert(field.key, field.format.bits == 32 ? QJsonValue(static_cast<qint64>(static_cast<uint32_t>(value)))
                                                  : QJsonValue(value));
    }
    return object;
}

QJsonObject spriteJson(int index, const SpriteRecord &record, const QString &name)
{
    return QJsonObject{{"index", index},     {"param", record.Param}, {"x", record.X},
                       {"y", record.Y},      {"type", record.Type},   {"name", name}};
}

QJsonObject cameraJson(int index, const CameraRecord &record)
{
    return QJsonObject{{"index", index}, {"x", record.X}, {"y", record.Y}};
}

QJsonObject bananaJson(int index, const BananaRecord &record)
{
    return QJsonObject{{"index", index}, {"group", record.Group}, {"x", record.X}, {"y", record.Y}};
}

QJsonObject listJson(int64_t offset, const QJsonArray &records)
{
    return QJsonObject{{"offset", static_cast<qint64>(offset)}, {"records", records}};
}

QJsonObject editResultJson(const std::vector<uint8_t> &before, const std::vector<uint8_t> &after,
                           bool written)
{
    qint64 changed = 0;
    for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
        if (before[i] != after[i])
            ++changed;
    }
    return QJsonObject{{"changed_bytes", changed}, {"written", written}};
}

} // namespace tamo::cli
