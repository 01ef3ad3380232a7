#pragma once

#include <cstddef>
#include <cstdint>

namespace tamo {

// A picture of 32-bit pixels (0xAARRGGBB, as the stage bitmap holds them) owned by
// someone else; stride is the distance between the starts of two lines, in pixels.
struct PixelView
{
    const uint32_t *pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

// The same for a picture to draw into.
struct MutablePixelView
{
    uint32_t *pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    uint32_t *line(int y) const { return pixels + std::ptrdiff_t(y) * stride; }
};

} // namespace tamo
