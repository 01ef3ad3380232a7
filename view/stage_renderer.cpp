#include "view/stage_renderer.h"

#include "core/rom_image.h"
#include "core/rom_patch.h"
#include "core/stage.h"
#include "view/canvas.h"
#include "view/stage_marks.h"
#include "view/stage_scene.h"
#include "view/tile_block.h"
#include "view/tile_word.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace tamo {

namespace {

bool holdsCell(const Picture *picture, PicturePoint source)
{
    return picture && source.x >= 0 && source.y >= 0
           && source.x + CellPixels <= picture->width()
           && source.y + CellPixels <= picture->height();
}

// The chip corner a cell shows; none when its tile word lies outside the ROM image or
// its chip outside the chip bitmap.
std::optional<PicturePoint> cellSource(const StageScene &scene, int32_t column, int32_t row)
{
    const int64_t offset = TileCellOffset(scene.stage, column, row);
    if (!scene.rom.contains(offset, 2))
        return std::nullopt;
    return ChipCorner(scene.chipPicture, scene.rom.readWord(offset, "tile map cell"));
}

// Cells first to first + count - 1 of one row. A stage image too large for one bitmap
// loses whole cells at its right edge until its bitmap can be made; an image of width 0
// needs no bitmap.
void drawCells(const StageScene &scene, int32_t row, int32_t first, int32_t count)
{
    std::vector<std::optional<PicturePoint>> sources(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        sources[i] = cellSource(scene, first + i, row);
    for (;;) {
        try {
            scene.image.copyCellRow(scene.chipPicture, sources, first * CellPixels, row * CellPixels);
            return;
        } catch (const OutOfResources &) {
            if (scene.image.width() <= 0)
                return;
            scene.image.resize(std::max(0, scene.image.width() - CellPixels), scene.image.height());
        }
    }
}

// A cell's place in row-major order: the cells of one row follow each other by column, so
// neighbours in a row have consecutive keys. Sorting plain numbers keeps the sort cheap
// beside the drawing it orders.
uint64_t rowFirstKey(CellPosition cell)
{
    return uint64_t(uint32_t(cell.row)) << 32 | uint32_t(cell.column);
}

CellPosition cellOfKey(uint64_t key)
{
    return CellPosition{int32_t(uint32_t(key)), int32_t(key >> 32)};
}

// The cells whose tile words the patch writes, each once, row by row, as rowFirstKey.
std::vector<uint64_t> changedCells(const Stage &stage, const RomPatch &patch)
{
    std::vector<uint64_t> cells;
    for (const RomWrite &write : patch.writes()) {
        // Word by word: both bytes of a tile word name the same cell.
        const int64_t begin = std::max<int64_t>(write.offset, stage.TilemapOffset);
        const int64_t end = write.offset + int64_t(write.bytes.size());
        for (int64_t word = (begin - stage.TilemapOffset) / 2; stage.TilemapOffset + 2 * word < end; ++word) {
            if (const auto cell = TileCellAt(stage, stage.TilemapOffset + 2 * word))
                cells.push_back(rowFirstKey(*cell));
        }
    }
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    return cells;
}

} // namespace

std::optional<PicturePoint> ChipCorner(const Picture *chipPicture, uint16_t word)
{
    const PicturePoint source = TileSource(word);
    if (!holdsCell(chipPicture, source))
        return std::nullopt;
    return source;
}

void DrawTileMap(const StageScene &scene)
{
    if (scene.stage.ScreenMode != 0 || scene.stage.MapWidth <= 0)
        return;
    // A whole row at a time: the cells never overlap, so the order leaves the same picture,
    // and the stage image is then written along its lines.
    for (int32_t row = 0; row < scene.stage.MapHeight; ++row)
        drawCells(scene, row, 0, scene.stage.MapWidth);
}

void DrawCell(const StageScene &scene, int32_t column, int32_t row)
{
    if (scene.stage.ScreenMode != 0)
        return;
    drawCells(scene, row, column, 1);
}

std::vector<CellPosition> DrawChangedCells(const StageScene &scene, const RomPatch &patch)
{
    // Row by row, each run of neighbouring cells at once: the stage image is then written
    // along its lines rather than one cell's 32 lines at a time.
    const std::vector<uint64_t> keys = changedCells(scene.stage, patch);
    for (size_t first = 0; first < keys.size();) {
        size_t end = first + 1;
        while (end < keys.size() && keys[end] == keys[end - 1] + 1)
            ++end;
        const CellPosition cell = cellOfKey(keys[first]);
        drawCells(scene, cell.row, cell.column, int32_t(end - first));
        first = end;
    }
    std::vector<CellPosition> cells(keys.size());
    std::transform(keys.begin(), keys.end(), cells.begin(), cellOfKey);
    std::sort(cells.begin(), cells.end());
    return cells;
}

void RedrawStage(const StageScene &scene)
{
    DrawTileMap(scene);
    DrawMarks(scene);
}

void DrawTileBlock(Canvas &canvas, const Picture *chipPicture, const TileBlock &block)
{
    std::vector<std::optional<PicturePoint>> sources(size_t(block.columns));
    for (int32_t row = 0; row < block.rows; ++row) {
        for (int32_t column = 0; column < block.columns; ++column)
            sources[size_t(column)] = ChipCorner(chipPicture, block.at(column, row));
        canvas.copyCellRow(chipPicture, sources, 0, row * CellPixels);
    }
}

} // namespace tamo
