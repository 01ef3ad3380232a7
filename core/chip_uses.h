#pragma once

#include "core/stage.h"

#include <cstdint>
#include <vector>

namespace tamo {

class RomImage;

// Bits 0-13 of a tile word: its chip number. Bits 14 and 15 are its flips.
constexpr uint16_t ChipBits = 0x3FFF;
constexpr uint16_t FlipBits = 0xC000;

// The cells of one stage whose tile words hold a chip.
struct StageChipUses
{
    int32_t level = 0;
    std::vector<CellPosition> cells;

    friend bool operator==(const StageChipUses &, const StageChipUses &) = default;
};

// The cells of the stage image whose tile word holds chip in bits 0-13, row by row (row
// 0 from left to right, then row 1, ...); none outside screen mode 0. Words that lie
// outside the image hold no chip. Their number is what the stage's status bar counts.
std::vector<CellPosition> ChipCellsOfStage(const RomImage &rom, const Stage &stage, int32_t chip);

// Every stage 0 to 229 in screen mode 0 whose map holds chip, by stage number, with its
// cells as ChipCellsOfStage gives them. Each tile map's words are read once, however many
// stages show them.
std::vector<StageChipUses> FindChipUses(const StageSource &source, int32_t chip);

} // namespace tamo
