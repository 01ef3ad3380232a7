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

// How another image differs from one: the bytes that differ (bytes only one of them has
// count too) and the stages they touch, laid out as the one has them.
struct ImageDifference
{
    int64_t bytes = 0;
    std::vector<int32_t> stages;
};

// The extents of the stages 0..229 of an image, found once to compare the image with any
// number of others. The image must outlive it.
class StageExtents
{
public:
    explicit StageExtents(const StageSource &image);

    // A stage laid out otherwise in the other image differs in its pointers or its list
    // terminators, which the extent holds.
    ImageDifference compare(std::span<const uint8_t> other) const;

private:
    const RomImage &m_image;
    std::vector<std::vector<ByteRun>> m_extents; // by level
};

} // namespace tamo
