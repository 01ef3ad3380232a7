#pragma once

#include "core/ini_file.h"
#include "core/offset_table.h"
#include "core/rom_image.h"
#include "core/stage.h"

#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace tamo::test {

// The uses of a chip, found from the stages' tile words by the map's layout (MapHeight
// words a column, from the column TilemapStart lies in), not by the program's search.
struct ChipCount
{
    std::map<int, std::vector<std::pair<int, int>>> cellsOfStage; // (column, row), row by row
    std::map<int, std::set<size_t>> wordsOfStage; // the offsets of their tile words
    std::set<size_t> words; // the offsets of the tile words, each once however many stages show it
};

inline ChipCount CountChip(const std::vector<uint8_t> &bytes, const IniFile &offsetsIni, int chip)
{
    const RomImage image(bytes);
    const OffsetTable offsets = LoadOffsetTable(offsetsIni);
    ChipCount count;
    for (int level = 0; level < LevelCount; ++level) {
        const Stage stage = DecodeStage({image, offsets, offsetsIni}, level, Stage{});
        if (stage.ScreenMode != 0)
            continue;
        for (int row = 0; row < stage.MapHeight; ++row) {
            for (int column = 0; column < stage.MapWidth; ++column) {
                const size_t at = size_t(stage.TilemapOffset)
                                  + 2 * size_t((column + stage.TilemapStart / 32) * stage.MapHeight + row);
                if (((bytes[at] | bytes[at + 1] << 8) & 0x3FFF) == chip) {
                    count.cellsOfStage[level].emplace_back(column, row);
                    count.wordsOfStage[level].insert(at);
                    count.words.insert(at);
                }
            }
        }
    }
    return count;
}

} // namespace tamo::test
