#pragma once

#include "core/rom_difference.h"
#include "core/stage.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tamo {

// The bytes of the image that make up one stage: its settings entries (FG, BG, music,
// function, start action, start point, darkness), its entries in the camera, sprite and
// banana pointer tables, the head of its camera block, its camera, sprite and banana lists
// with their terminators, and the columns of the tile map it shows (screen mode 0, the one
// mode whose map layout is known). A part whose place lies outside the image is left out.
std::vector<ByteRun> StageExtent(const StageSource &source, int32_t level);

// The stages 0..229 of which a byte lies in the differing runs (in order, as DifferingRuns
// gives them), each stage laid out as the source has it. A stage laid out otherwise in the
// other image differs in its pointers or its list terminators, which the layout holds.
std::vector<int32_t> DifferingStages(std::span<const ByteRun> differing, const StageSource &source);

// How another image differs from this one: the bytes that differ (bytes only one of them
// has count too) and the stages they touch, laid out as this one has them.
struct ImageDifference
{
    int64_t bytes = 0;
    std::vector<int32_t> stages;
};
ImageDifference CompareImages(const StageSource &image, std::span<const uint8_t> other);

} // namespace tamo
