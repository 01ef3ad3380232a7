#pragma once

#include "core/rom_patch.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tamo {

class IniFile;
class RomImage;
struct OffsetTable;

constexpr int LevelCount = 230;
constexpr int CellSize = 32;

// The decoded fields of the current stage.
struct Stage
{
    int32_t LevelNumber = 0;
    uint16_t FGWord = 0;
    int32_t FGTilemap = 0;
    int32_t TilemapOffset = 0;
    int32_t CameraBlockOffset = 0;
    int32_t SpriteListOffset = 0;
    int32_t StartX = 0;
    int32_t StartY = 0;
    int32_t TilemapStart = 0;
    int32_t TilemapEnd = 0;
    int32_t ScreenMode = 0;
    int32_t MapWidth = 0;
    int32_t MapHeight = 0;

    int32_t firstColumn() const { return TilemapStart / CellSize; }
};

// Everything a stage load reads: the ROM image, the offset table and Data\offsets.ini.
struct StageSource
{
    const RomImage &rom;
    const OffsetTable &offsets;
    const IniFile &offsetsIni;
};

// The FG word of the level, looked up as upper-case hex (at least two digits) in
// section "FG Tilemap"; 0 when absent.
int32_t DecodeFGTilemap(const StageSource &source, int32_t level, uint16_t *fgWord = nullptr);

// Decodes the whole stage. previous gives the map size kept for unknown screen modes.
// Throws RomRangeError when a table entry lies outside the image; nothing is decoded then.
Stage DecodeStage(const StageSource &source, int32_t level, const Stage &previous);

int32_t CameraBlockOffset(const RomImage &rom, const OffsetTable &offsets, int32_t level);
int32_t SpriteListOffset(const RomImage &rom, const OffsetTable &offsets, int32_t level);
int32_t BananaListOffset(const RomImage &rom, const OffsetTable &offsets, int32_t level);

// Map size from the screen mode; false for a mode whose size is kept from before.
bool MapSizeForMode(int32_t screenMode, int32_t tilemapStart, int32_t tilemapEnd,
                    int32_t &mapWidth, int32_t &mapHeight);

// A cell of the stage image: column 0 is the stage's first shown map column.
struct CellPosition
{
    int32_t column = 0;
    int32_t row = 0;

    friend bool operator==(const CellPosition &, const CellPosition &) = default;
    friend auto operator<=>(const CellPosition &, const CellPosition &) = default;
};

// Byte offset of the tile word of cell (column, row) of the stage image (screen mode 0).
int64_t TileCellOffset(const Stage &stage, int32_t column, int32_t row);
// The write of one tile word into cell (column, row).
RomPatch TileCellPatch(const Stage &stage, int32_t column, int32_t row, uint16_t word);
// The cell of the stage image whose tile word holds the byte at offset; none when the
// byte lies outside the stage's part of the tile map or the stage has no drawn map.
std::optional<CellPosition> TileCellAt(const Stage &stage, int64_t offset);

} // namespace tamo
