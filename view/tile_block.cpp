#include "view/tile_block.h"

#include "core/integer_syntax.h"
#include "core/little_endian.h"
#include "core/rom_image.h"
#include "view/tile_word.h"

#include <algorithm>
#include <cctype>

namespace tamo {

namespace {

constexpr std::string_view CellWhat = "tile map cell";

// Collects the words of single cells into runs of neighbouring words, one write a run.
class CellWrites
{
public:
    void add(int64_t offset, uint16_t word)
    {
        if (m_bytes.empty() || offset != m_offset + int64_t(m_bytes.size()))
            flush();
        if (m_bytes.empty())
            m_offset = offset;
        const auto bytes = LittleEndian<2>(word);
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    }

    RomPatch take()
    {
        flush();
        return std::move(m_patch);
    }

private:
    void flush()
    {
        if (!m_bytes.empty())
            m_patch.write(m_offset, m_bytes, CellWhat);
        m_bytes.clear();
    }

    RomPatch m_patch;
    int64_t m_offset = 0;
    std::vector<uint8_t> m_bytes;
};

// Sides that the program's own form can hold, and not too many cells.
bool fitsBlock(int64_t columns, int64_t rows)
{
    return columns > 0 && rows > 0 && columns <= 0xFFFF && rows <= 0xFFFF
           && columns * rows <= MaxBlockCells;
}

// The words of one line of the text form; none when a word is not one to four digits.
std::optional<std::vector<uint16_t>> wordsOfLine(std::string_view line)
{
    const auto isBlank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::vector<uint16_t> words;
    size_t at = 0;
    while (at < line.size()) {
        if (isBlank(line[at])) {
            ++at;
            continue;
        }
        const size_t start = at;
        while (at < line.size() && !isBlank(line[at]))
            ++at;
        const std::string_view digits = line.substr(start, at - start);
        const std::optional<uint64_t> word = digits.size() <= 4 ? parseDigitRun(digits, 16, 0xFFFF) : std::nullopt;
        if (!word)
            return std::nullopt;
        words.push_back(uint16_t(*word));
    }
    return words;
}

} // namespace

CellRect CellRect::Spanning(CellPosition first, CellPosition second)
{
    const int32_t left = std::min(first.column, second.column);
    const int32_t top = std::min(first.row, second.row);
    return {left, top, std::max(first.column, second.column) - left + 1,
            std::max(first.row, second.row) - top + 1};
}

TileBlock SingleCellBlock(uint16_t word)
{
    return {1, 1, {word}};
}

bool EditableCell(const RomImage &rom, const Stage &stage, CellPosition cell)
{
    return stage.ScreenMode == 0 && cell.column >= 0 && cell.column < stage.MapWidth
           && cell.row >= 0 && cell.row < stage.MapHeight
           && rom.contains(TileCellOffset(stage, cell.column, cell.row), 2);
}

CellPosition ClampedToMap(const Stage &stage, CellPosition cell)
{
    return {std::clamp(cell.column, 0, std::max(0, stage.MapWidth - 1)),
            std::clamp(cell.row, 0, std::max(0, stage.MapHeight - 1))};
}

int64_t EditableCellCount(const RomImage &rom, const Stage &stage, const CellRect &rect)
{
    int64_t count = 0;
    for (int32_t column = rect.column; column < rect.column + rect.columns; ++column) {
        for (int32_t row = rect.row; row < rect.row + rect.rows; ++row)
            count += EditableCell(rom, stage, {column, row}) ? 1 : 0;
    }
    return count;
}

TileBlock CopyTiles(const RomImage &rom, const Stage &stage, const CellRect &rect)
{
    TileBlock block{rect.columns, rect.rows, std::vector<uint16_t>(size_t(std::max<int64_t>(0, rect.cellCount())))};
    for (int32_t row = 0; row < rect.rows; ++row) {
        for (int32_t column = 0; column < rect.columns; ++column) {
            const CellPosition cell{rect.column + column, rect.row + row};
            if (EditableCell(rom, stage, cell))
                block.words[size_t(row) * size_t(rect.columns) + size_t(column)]
                    = rom.readWord(TileCellOffset(stage, cell.column, cell.row), CellWhat);
        }
    }
    return block;
}

RomPatch PutTilesPatch(const RomImage &rom, const Stage &stage, const TileBlock &block, CellPosition at)
{
    // Column by column, top to bottom: the order in which the map lies in the image.
    CellWrites writes;
    for (int32_t column = 0; column < block.columns; ++column) {
        for (int32_t row = 0; row < block.rows; ++row) {
            const CellPosition cell{at.column + column, at.row + row};
            if (EditableCell(rom, stage, cell))
                writes.add(TileCellOffset(stage, cell.column, cell.row), block.at(column, row));
        }
    }
    return writes.take();
}

RomPatch FillTilesPatch(const RomImage &rom, const Stage &stage, const CellRect &rect,
                        const TileBlock &pattern)
{
    CellWrites writes;
    if (pattern.columns <= 0 || pattern.rows <= 0)
        return writes.take();
    for (int32_t column = 0; column < rect.columns; ++column) {
        for (int32_t row = 0; row < rect.rows; ++row) {
            const CellPosition cell{rect.column + column, rect.row + row};
            if (EditableCell(rom, stage, cell))
                writes.add(TileCellOffset(stage, cell.column, cell.row),
                           pattern.at(column % pattern.columns, row % pattern.rows));
        }
    }
    return writes.take();
}

TileBlock TopLeftPart(const TileBlock &block, int32_t columns, int32_t rows)
{
    TileBlock part{std::clamp(columns, 0, block.columns), std::clamp(rows, 0, block.rows), {}};
    part.words.reserve(size_t(part.columns) * size_t(part.rows));
    for (int32_t row = 0; row < part.rows; ++row) {
        const auto rowStart = block.words.begin() + std::ptrdiff_t(size_t(row) * size_t(block.columns));
        part.words.insert(part.words.end(), rowStart, rowStart + part.columns);
    }
    return part;
}

TileBlock MirroredLeftRight(const TileBlock &block)
{
    TileBlock mirrored = block;
    for (int32_t row = 0; row < block.rows; ++row) {
        for (int32_t column = 0; column < block.columns; ++column)
            mirrored.words[size_t(row) * size_t(block.columns) + size_t(column)]
                = block.at(block.columns - 1 - column, row) ^ HFlipBit;
    }
    return mirrored;
}

TileBlock MirroredTopBottom(const TileBlock &block)
{
    TileBlock mirrored = block;
    for (int32_t row = 0; row < block.rows; ++row) {
        for (int32_t column = 0; column < block.columns; ++column)
            mirrored.words[size_t(row) * size_t(block.columns) + size_t(column)]
                = block.at(column, block.rows - 1 - row) ^ VFlipBit;
    }
    return mirrored;
}

std::string TileBlockText(const TileBlock &block)
{
    std::string text;
    for (int32_t row = 0; row < block.rows; ++row) {
        for (int32_t column = 0; column < block.columns; ++column) {
            if (column > 0)
                text += ' ';
            text += hexText(block.at(column, row), 4);
        }
        text += '\n';
    }
    return text;
}

TileBlockRead TileBlockFromText(std::string_view text)
{
    // Rows are counted to the end, to tell how large a block too large is; their words are
    // kept only while the block fits.
    TileBlock block;
    int64_t columns = 0;
    int64_t rows = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::optional<std::vector<uint16_t>> words = wordsOfLine(line);
        if (!words)
            return {};
        if (words->empty())
            continue;
        if (rows == 0)
            columns = int64_t(words->size());
        if (int64_t(words->size()) != columns)
            return {};
        ++rows;
        if (fitsBlock(columns, rows))
            block.words.insert(block.words.end(), words->begin(), words->end());
    }
    if (rows == 0)
        return {};
    if (!fitsBlock(columns, rows))
        return {std::nullopt, columns, rows};
    block.columns = int32_t(columns);
    block.rows = int32_t(rows);
    return {std::move(block), columns, rows};
}

std::vector<uint8_t> TileBlockBytes(const TileBlock &block)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(4 + 2 * block.words.size());
    for (uint32_t value : {uint32_t(block.columns), uint32_t(block.rows)}) {
        const auto number = LittleEndian<2>(value);
        bytes.insert(bytes.end(), number.begin(), number.end());
    }
    for (uint16_t word : block.words) {
        const auto number = LittleEndian<2>(word);
        bytes.insert(bytes.end(), number.begin(), number.end());
    }
    return bytes;
}

TileBlockRead TileBlockFromBytes(std::span<const uint8_t> bytes)
{
    const auto numberAt = [&](size_t at) { return uint16_t(bytes[at] | bytes[at + 1] << 8); };
    if (bytes.size() < 4)
        return {};
    TileBlock block{numberAt(0), numberAt(2), {}};
    if (block.columns == 0 || block.rows == 0 || bytes.size() != 4 + 2 * size_t(block.columns) * size_t(block.rows))
        return {};
    if (!fitsBlock(block.columns, block.rows))
        return {std::nullopt, block.columns, block.rows};
    for (size_t at = 4; at < bytes.size(); at += 2)
        block.words.push_back(numberAt(at));
    return {std::move(block), numberAt(0), numberAt(2)};
}

} // namespace tamo
