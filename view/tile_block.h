#pragma once

#include "core/rom_patch.h"
#include "core/stage.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tamo {

class RomImage;

// A rectangle of cells of the stage image.
struct CellRect
{
    int32_t column = 0;
    int32_t row = 0;
    int32_t columns = 0;
    int32_t rows = 0;

    // The rectangle that has the two cells as opposite corners.
    static CellRect Spanning(CellPosition first, CellPosition second);
    int64_t cellCount() const { return int64_t(columns) * rows; }

    friend bool operator==(const CellRect &, const CellRect &) = default;
};

// Tile words in a rectangle, row after row from the top, each row from the left.
struct TileBlock
{
    int32_t columns = 0;
    int32_t rows = 0;
    std::vector<uint16_t> words;

    uint16_t at(int32_t column, int32_t row) const { return words[size_t(row) * size_t(columns) + size_t(column)]; }
    bool isSingleCell() const { return columns == 1 && rows == 1; }

    friend bool operator==(const TileBlock &, const TileBlock &) = default;
};

// The most cells a block read from the clipboard may have: more than the largest map.
constexpr int64_t MaxBlockCells = int64_t(1) << 20;

TileBlock SingleCellBlock(uint16_t word);

// Whether the tile tools may read and write the cell: a stage of screen mode 0, the cell
// inside its map and the cell's tile word inside the image.
bool EditableCell(const RomImage &rom, const Stage &stage, CellPosition cell);
// The cell of the map nearest to the given one.
CellPosition ClampedToMap(const Stage &stage, CellPosition cell);
// How many cells of the rectangle are editable.
int64_t EditableCellCount(const RomImage &rom, const Stage &stage, const CellRect &rect);

// The tile words of the rectangle; a cell that is not editable reads as 0.
TileBlock CopyTiles(const RomImage &rom, const Stage &stage, const CellRect &rect);
// The writes that put the block with its top-left cell at the given cell. Cells that are
// not editable are skipped. The cells of one map column are written as one run.
RomPatch PutTilesPatch(const RomImage &rom, const Stage &stage, const TileBlock &block, CellPosition at);
// The writes that fill the rectangle with the pattern, repeated from its top-left cell.
RomPatch FillTilesPatch(const RomImage &rom, const Stage &stage, const CellRect &rect,
                        const TileBlock &pattern);

// The block's top-left part of at most the given columns and rows.
TileBlock TopLeftPart(const TileBlock &block, int32_t columns, int32_t rows);

// The block mirrored as a whole: its layout reversed and every word's flip bit of that
// direction toggled.
TileBlock MirroredLeftRight(const TileBlock &block);
TileBlock MirroredTopBottom(const TileBlock &block);

// A block read from the clipboard's text or bytes. Where they hold a block of more than
// MaxBlockCells cells or with a side longer than 65535, in either form, it is no block,
// and its size says how large it is.
struct TileBlockRead
{
    std::optional<TileBlock> block;
    int64_t columns = 0;
    int64_t rows = 0;

    bool tooLarge() const { return !block && columns > 0; }
};

// The plain-text form: one line per row, its words as four upper-case hexadecimal digits
// separated by blanks. Reading takes one to four hexadecimal digits a word, any blanks and
// line ends; every row must have as many words as the first. Anything else is no block.
std::string TileBlockText(const TileBlock &block);
TileBlockRead TileBlockFromText(std::string_view text);

// The program's own form: columns and rows as 16-bit numbers, then the words, all
// little-endian.
std::vector<uint8_t> TileBlockBytes(const TileBlock &block);
TileBlockRead TileBlockFromBytes(std::span<const uint8_t> bytes);

} // namespace tamo
