#include "core/map_object.h"

#include "core/level_settings.h"
#include "core/object_lists.h"
#include "core/rom_error.h"
#include "core/stage.h"

#include <algorithm>

namespace tamo {

namespace {

constexpr int32_t WordLimit = 0xFFFF;

} // namespace

int32_t LargestPosition(ObjectKind kind)
{
    return kind == ObjectKind::Camera ? CameraListEnd - 1 : WordLimit;
}

RomPatch MoveObjectPatch(const RomImage &rom, const OffsetTable &offsets, const Stage &stage,
                         const MapObject &object, int32_t x, int32_t y)
{
    x = std::clamp(x, 0, LargestPosition(object.kind));
    y = std::clamp(y, 0, LargestPosition(object.kind));
    switch (object.kind) {
    case ObjectKind::Sprite:
        return SpritePositionPatch(stage.SpriteListOffset, object.index, x, y);
    case ObjectKind::Camera:
        return CameraRecordPatch(stage.CameraBlockOffset, object.index, CameraRecord{x, y});
    case ObjectKind::Start:
        break;
    }
    LevelSettingsUpdate start;
    start.StartX = x;
    start.StartY = y;
    return LevelSettingsPatch(rom, offsets, stage.LevelNumber, start);
}

std::vector<int32_t> StagesSharingTileMap(const StageSource &source, int32_t level)
{
    const int32_t tilemap = DecodeFGTilemap(source, level);
    std::vector<int32_t> stages;
    for (int32_t other = 0; other < LevelCount; ++other) {
        if (other == level)
            continue;
        try {
            if (DecodeFGTilemap(source, other) == tilemap)
                stages.push_back(other);
        } catch (const RomRangeError &) {
            // That stage has no FG entry in this image, and so no tile map to share.
        }
    }
    return stages;
}

std::string SharedTileMapText(const std::vector<int32_t> &stages, size_t listed)
{
    if (stages.empty())
        return {};
    std::string text = "tile map shared with stages ";
    for (size_t i = 0; i < stages.size() && i < listed; ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(stages[i]);
    if (stages.size() > listed)
        text += " and " + std::to_string(stages.size() - listed) + " more";
    return text;
}

} // namespace tamo
