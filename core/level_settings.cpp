#include "core/level_settings.h"

#include "core/offset_table.h"
#include "core/rom_image.h"
#include "core/stage.h"

#include <array>

namespace tamo {
namespace {

// Where one field of the record lies for a stage, and how wide it is.
struct FieldPlace
{
    int32_t LevelSettings::*field;
    std::optional<int32_t> LevelSettingsUpdate::*update;
    int64_t offset;
    int width; // in bytes
    const char *what;
};

// The fields in the order they are written. The camera block's place comes from the Camera
// table, which holds none of these settings, so it stays put during a write.
std::array<FieldPlace, 12> fieldPlaces(const RomImage &rom, const OffsetTable &offsets, int32_t level)
{
    const int64_t n = level;
    const int64_t darkness = offsets.Darkness + 4 * n;
    const int64_t startPoint = offsets.StartPoint + 4 * n;
    const int64_t cameraBlock = CameraBlockOffset(rom, offsets, level);
    using S = LevelSettings;
    using U = LevelSettingsUpdate;
    return {{
        {&S::FG, &U::FG, offsets.FG + 2 * n, 2, "FG table"},
        {&S::BG, &U::BG, offsets.BG + 2 * n, 2, "BG table"},
        {&S::Music, &U::Music, offsets.Music + 2 * n, 2, "Music table"},
        {&S::Func, &U::Func, offsets.LevelFunc + 4 * n, 4, "LevelFunc table"},
        {&S::StartAction, &U::StartAction, offsets.StartAction + 2 * n, 2, "StartAction table"},
        {&S::StartX, &U::StartX, startPoint, 2, "StartPoint table"},
        {&S::StartY, &U::StartY, startPoint + 2, 2, "StartPoint table"},
        {&S::DarknessBits, &U::DarknessBits, darkness, 1, "Darkness table"},
        {&S::BGColor, &U::BGColor, darkness + 1, 1, "Darkness table"},
        {&S::BGDarkness, &U::BGDarkness, darkness + 2, 1, "Darkness table"},
        {&S::TilemapStart, &U::TilemapStart, cameraBlock, 2, "Camera block"},
        {&S::TilemapEnd, &U::TilemapEnd, cameraBlock + 2, 2, "Camera block"},
    }};
}

uint32_t readField(const RomImage &rom, const FieldPlace &place)
{
    switch (place.width) {
    case 1:
        return rom.readByte(place.offset, place.what);
    case 2:
        return rom.readWord(place.offset, place.what);
    default:
        return rom.readDword(place.offset, place.what);
    }
}

} // namespace

LevelSettings ReadLevelSettings(const RomImage &rom, const OffsetTable &offsets, int32_t level)
{
    LevelSettings settings;
    for (const FieldPlace &place : fieldPlaces(rom, offsets, level))
        settings.*place.field = static_cast<int32_t>(readField(rom, place));
    return settings;
}

RomPatch LevelSettingsPatch(const RomImage &rom, const OffsetTable &offsets, int32_t level,
                            const LevelSettingsUpdate &update)
{
    RomPatch patch;
    for (const FieldPlace &place : fieldPlaces(rom, offsets, level)) {
        const std::optional<int32_t> &value = update.*place.update;
        if (!value)
            continue;
        const uint32_t bits = static_cast<uint32_t>(*value);
        switch (place.width) {
        case 1:
            patch.writeByte(place.offset, bits, place.what);
            break;
        case 2:
            patch.writeWord(place.offset, bits, place.what);
            break;
        default:
            patch.writeDword(place.offset, bits, place.what);
            break;
        }
    }
    return patch;
}

void WriteLevelSettings(RomImage &rom, const OffsetTable &offsets, int32_t level,
                        const LevelSettingsUpdate &update)
{
    LevelSettingsPatch(rom, offsets, level, update).applyTo(rom);
}

} // namespace tamo
