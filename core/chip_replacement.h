#pragma once

#include "core/rom_difference.h"
#include "core/rom_patch.h"

#include <cstdint>
#include <span>
#include <string>

namespace tamo {

class RomImage;

// What Replace Chip puts into each cell whose chip (bits 0-13) is fromChip: toWord as a
// whole, its flips included, so that 0x40B0 gives chip 0B0 mirrored left-right; or, with
// keepFlips, the chip of toWord with the flips the cell had.
struct ChipReplacement
{
    int32_t fromChip = 0;
    uint16_t toWord = 0;
    bool keepFlips = false;
};

// The tile word that a cell holding word gets; word itself when its chip is not fromChip.
uint16_t ReplacedWord(const ChipReplacement &replacement, uint16_t word);

// The replacement as one edit of the image, and the step's text.
struct ChipReplaceEdit
{
    RomPatch patch; // neighbouring changed words make one write
    int64_t cells = 0;
    std::string text;
};

// Replaces the chip in the tile words of the runs (whole words, each once, as
// StageTileMapWords and AllTileMapWords give them). A cell that already holds what it would
// get is neither written nor counted. Throws RomRangeError when a run leaves the image.
ChipReplaceEdit ReplaceChipEdit(const RomImage &rom, std::span<const ByteRun> words,
                                const ChipReplacement &replacement);

// "Replace chip 0A5 by 0B0 in 214 cells", chip numbers in upper-case hexadecimal with at
// least three digits; flips that are set rather than kept are named after the chip ("by
// 0B0 mirrored left-right").
std::string ReplaceChipText(const ChipReplacement &replacement, int64_t cells);

} // namespace tamo
