#pragma once

#include <cstdint>

namespace tamo {

class IniFile;

// Where the per-stage tables lie in the ROM image: section "Offset" of Data\offsets.ini,
// each key with its built-in default. Fields are named after their keys.
struct OffsetTable
{
    int32_t LevelFunc = 0x00C589;
    int32_t TileMap = 0x018B94;
    int32_t Banana = 0x38B335;
    int32_t FG = 0x39801E;
    int32_t BG = 0x3981EA;
    int32_t Music = 0x3983B6;
    int32_t Darkness = 0x39D839;
    int32_t Camera = 0x3C8000;
    int32_t StartPoint = 0x3CB527;
    int32_t Sprite = 0x3D8000;
    int32_t StartAction = 0x3FFD9F;
    int32_t BaseCamera = 0x3C0000;
    int32_t BaseSprite = 0x3D0000;
    int32_t Banana2 = 0x38BFF9;
};

// Reads the fourteen keys, in the order of the fields above.
OffsetTable LoadOffsetTable(const IniFile &offsetsIni);

} // namespace tamo
