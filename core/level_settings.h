#pragma once

#include "core/rom_patch.h"

#include <cstdint>
#include <optional>

namespace tamo {

class RomImage;
struct OffsetTable;

struct LevelSettings
{
    int32_t FG = 0;
    int32_t BG = 0;
    int32_t Music = 0;
    int32_t Func = 0; // the full 32 bits, two's complement
    int32_t StartAction = 0;
    int32_t StartX = 0;
    int32_t StartY = 0;
    int32_t DarknessBits = 0;
    int32_t BGColor = 0;
    int32_t BGDarkness = 0;
    int32_t TilemapStart = 0;
    int32_t TilemapEnd = 0;
};

// A new value per field, or none to leave the field's bytes as they are.
struct LevelSettingsUpdate
{
    std::optional<int32_t> FG, BG, Music, Func, StartAction, StartX, StartY, DarknessBits,
        BGColor, BGDarkness, TilemapStart, TilemapEnd;
};

// The flag masks of the darkness byte, flags A to H.
constexpr int DarknessFlagMask(int flag) { return 0x80 >> flag; }

LevelSettings ReadLevelSettings(const RomImage &rom, const OffsetTable &offsets, int32_t level);
// The writes of the fields that have a value, in record order. The camera block's place is
// read from the image, which throws RomRangeError when its pointer lies outside.
RomPatch LevelSettingsPatch(const RomImage &rom, const OffsetTable &offsets, int32_t level,
                            const LevelSettingsUpdate &update);
// All or nothing: when any field to write lies outside the image, RomRangeError is thrown
// and no byte changes.
void WriteLevelSettings(RomImage &rom, const OffsetTable &offsets, int32_t level,
                        const LevelSettingsUpdate &update);

} // namespace tamo
