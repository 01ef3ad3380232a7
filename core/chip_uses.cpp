#include "core/chip_uses.h"

#include "core/rom_image.h"
#include "core/tile_map_words.h"

#include <algorithm>
#include <span>

namespace tamo {

namespace {

// The offsets of the words of the runs, which lie inside the image, that hold chip.
std::vector<int64_t> wordsHolding(const RomImage &rom, std::span<const ByteRun> runs, int32_t chip)
{
    const std::vector<uint8_t> &bytes = rom.bytes();
    std::vector<int64_t> found;
    for (const ByteRun &run : runs) {
        for (size_t at = size_t(run.begin); at < size_t(run.end); at += 2) {
            if (((bytes[at] | bytes[at + 1] << 8) & ChipBits) == chip)
                found.push_back(int64_t(at));
        }
    }
    return found;
}

// The cells of the stage among the found words of its tile map, row by row.
std::vector<CellPosition> cellsOfStage(const Stage &stage, std::span<const int64_t> found)
{
    const ByteRun shown = StageWords(stage);
    std::vector<CellPosition> cells;
    for (auto word = std::lower_bound(found.begin(), found.end(), shown.begin);
         word != found.end() && *word < shown.end; ++word)
        cells.push_back(*TileCellAt(stage, *word));
    std::sort(cells.begin(), cells.end(), [](const CellPosition &a, const CellPosition &b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    return cells;
}

} // namespace

std::vector<CellPosition> ChipCellsOfStage(const RomImage &rom, const Stage &stage, int32_t chip)
{
    const std::vector<ShownTileMap> maps = ShownTileMaps(rom, {stage});
    if (maps.empty())
        return {};
    return cellsOfStage(stage, wordsHolding(rom, maps.front().words, chip));
}

std::vector<StageChipUses> FindChipUses(const StageSource &source, int32_t chip)
{
    std::vector<StageChipUses> uses;
    for (const ShownTileMap &map : ShownTileMaps(source.rom, ModeZeroStages(source))) {
        const std::vector<int64_t> found = wordsHolding(source.rom, map.words, chip);
        for (const Stage &stage : map.stages) {
            if (std::vector<CellPosition> cells = cellsOfStage(stage, found); !cells.empty())
                uses.push_back({stage.LevelNumber, std::move(cells)});
        }
    }
    std::sort(uses.begin(), uses.end(),
              [](const StageChipUses &a, const StageChipUses &b) { return a.level < b.level; });
    return uses;
}

} // namespace tamo
