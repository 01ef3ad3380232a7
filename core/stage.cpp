#include "core/stage.h"

#include "core/ini_file.h"
#include "core/integer_syntax.h"
#include "core/offset_table.h"
#include "core/rom_image.h"

namespace tamo {
namespace {

// The 24-bit tile map pointers are SNES addresses of bank 0xC0 and up.
constexpr int32_t TileMapBank = 0xC00000;
// The camera pointer names the first camera record's block four bytes further on.
constexpr int32_t CameraPointerLead = 4;
// Every mode-0 map reaches 8 columns (256 pixels) beyond TilemapEnd.
constexpr int32_t ExtraColumns = 8;
constexpr int32_t Mode0Height = 16;

} // namespace

int32_t DecodeFGTilemap(const StageSource &source, int32_t level, uint16_t *fgWord)
{
    const uint16_t word = source.rom.readWord(int64_t(source.offsets.FG) + 2 * int64_t(level), "FG table");
    if (fgWord)
        *fgWord = word;
    return source.offsetsIni.readInteger("FG Tilemap", hexText(word, 2), 0);
}

int32_t CameraBlockOffset(const RomImage &rom, const OffsetTable &offsets, int32_t level)
{
    const uint16_t pointer = rom.readWord(int64_t(offsets.Camera) + 2 * int64_t(level), "Camera table");
    return static_cast<int32_t>(int64_t(pointer) + offsets.BaseCamera - CameraPointerLead);
}

int32_t SpriteListOffset(const RomImage &rom, const OffsetTable &offsets, int32_t level)
{
    const uint16_t pointer = rom.readWord(int64_t(offsets.Sprite) + 2 * int64_t(level), "Sprite table");
    return static_cast<int32_t>(int64_t(pointer) + offsets.BaseSprite);
}

int32_t BananaListOffset(const RomImage &rom, const OffsetTable &offsets, int32_t level)
{
    const uint8_t index = rom.readByte(int64_t(offsets.Banana) + level, "Banana table");
    const uint8_t distance = rom.readByte(int64_t(offsets.Banana2) + index, "Banana offset table");
    return static_cast<int32_t>(int64_t(offsets.Banana2) + distance);
}

bool MapSizeForMode(int32_t screenMode, int32_t tilemapStart, int32_t tilemapEnd,
                    int32_t &mapWidth, int32_t &mapHeight)
{
    // C++ division truncates toward zero, as the span must.
    const int32_t span = (tilemapEnd - tilemapStart) / CellSize;
    switch (screenMode) {
    case 0:
        mapWidth = span + ExtraColumns;
        mapHeight = Mode0Height;
        return true;
    case 1:
        mapWidth = 64;
        mapHeight = 391;
        return true;
    case 2:
        mapWidth = 64;
        mapHeight = span + ExtraColumns;
        return true;
    default:
        return false;
    }
}

Stage DecodeStage(const StageSource &source, int32_t level, const Stage &previous)
{
    const RomImage &rom = source.rom;
    const OffsetTable &offsets = source.offsets;

    Stage stage;
    stage.LevelNumber = level;
    stage.FGTilemap = DecodeFGTilemap(source, level, &stage.FGWord);
    const uint32_t tileMapAddress
        = rom.readLong(int64_t(offsets.TileMap) + 3 * int64_t(stage.FGTilemap), "TileMap table");
    stage.TilemapOffset = static_cast<int32_t>(tileMapAddress) - TileMapBank;
    stage.CameraBlockOffset = CameraBlockOffset(rom, offsets, level);
    stage.SpriteListOffset = SpriteListOffset(rom, offsets, level);
    const int64_t startPoint = int64_t(offsets.StartPoint) + 4 * int64_t(level);
    stage.StartX = rom.readWord(startPoint, "StartPoint table");
    stage.StartY = rom.readWord(startPoint + 2, "StartPoint table");
    stage.TilemapStart = rom.readWord(stage.CameraBlockOffset, "Camera block");
    stage.TilemapEnd = rom.readWord(int64_t(stage.CameraBlockOffset) + 2, "Camera block");
    stage.ScreenMode = source.offsetsIni.readInteger("Screen mode", std::to_string(stage.FGTilemap), 0);

    stage.MapWidth = previous.MapWidth;
    stage.MapHeight = previous.MapHeight;
    MapSizeForMode(stage.ScreenMode, stage.TilemapStart, stage.TilemapEnd, stage.MapWidth, stage.MapHeight);
    return stage;
}

int64_t TileCellOffset(const Stage &stage, int32_t column, int32_t row)
{
    return int64_t(stage.TilemapOffset)
        + 2 * ((int64_t(column) + stage.firstColumn()) * stage.MapHeight + row);
}

RomPatch TileCellPatch(const Stage &stage, int32_t column, int32_t row, uint16_t word)
{
    return RomPatch().writeWord(TileCellOffset(stage, column, row), word, "tile map cell");
}

std::optional<CellPosition> TileCellAt(const Stage &stage, int64_t offset)
{
    if (stage.ScreenMode != 0 || stage.MapHeight <= 0 || offset < stage.TilemapOffset)
        return std::nullopt;
    const int64_t word = (offset - stage.TilemapOffset) / 2;
    const int64_t column = word / stage.MapHeight - stage.firstColumn();
    const int64_t row = word % stage.MapHeight;
    if (column < 0 || column >= stage.MapWidth)
        return std::nullopt;
    return CellPosition{static_cast<int32_t>(column), static_cast<int32_t>(row)};
}

} // namespace tamo
