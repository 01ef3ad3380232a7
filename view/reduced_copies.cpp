#include "view/reduced_copies.h"

#include <algorithm>

namespace tamo {

namespace {

// The mean of four pixels, channel by channel, halves rounded up: the red and blue
// channels, then the alpha and green ones, are summed side by side in 16-bit lanes, which
// hold the sum of four bytes without carrying into each other.
inline uint32_t meanOfFour(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    constexpr uint32_t Lanes = 0x00FF00FF;
    constexpr uint32_t Half = 0x00020002;
    const uint32_t low = (a & Lanes) + (b & Lanes) + (c & Lanes) + (d & Lanes) + Half;
    const uint32_t high = ((a >> 8) & Lanes) + ((b >> 8) & Lanes) + ((c >> 8) & Lanes)
                          + ((d >> 8) & Lanes) + Half;
    return ((low >> 2) & Lanes) | (((high >> 2) & Lanes) << 8);
}

// Pixels [left, right) x [top, bottom) of the reduced picture from the picture above it.
void reduce(PixelView above, ReducedCopies::Copy &reduced, int left, int top, int right, int bottom)
{
    for (int y = top; y < bottom; ++y) {
        const uint32_t *first = above.pixels + std::ptrdiff_t(2 * y) * above.stride;
        const uint32_t *second = first + above.stride;
        uint32_t *out = reduced.pixels.data() + size_t(y) * size_t(reduced.width);
        for (int x = left; x < right; ++x)
            out[x] = meanOfFour(first[2 * x], first[2 * x + 1], second[2 * x], second[2 * x + 1]);
    }
}

PixelView viewOf(const ReducedCopies::Copy &copy)
{
    return {copy.pixels.data(), copy.width, copy.height, copy.width};
}

} // namespace

void ReducedCopies::rebuild(PixelView bitmap)
{
    m_sourceWidth = bitmap.width;
    m_sourceHeight = bitmap.height;
    for (int reduction = 1; reduction <= Count; ++reduction) {
        Copy &copy = m_copies[size_t(reduction - 1)];
        copy.width = bitmap.width >> reduction;
        copy.height = bitmap.height >> reduction;
        copy.pixels.resize(size_t(copy.width) * size_t(copy.height));
        copy.pixels.shrink_to_fit();
    }
    update(bitmap, 0, 0, bitmap.width, bitmap.height);
}

void ReducedCopies::update(PixelView bitmap, int left, int top, int width, int height)
{
    if (bitmap.width != m_sourceWidth || bitmap.height != m_sourceHeight) {
        rebuild(bitmap);
        return;
    }
    // Whole squares of the smallest copy, so that each copy reduces whole squares of the
    // one above it.
    int squareLeft = std::max(0, left) / LargestFactor;
    int squareTop = std::max(0, top) / LargestFactor;
    int squareRight = (std::max(0, left + width) + LargestFactor - 1) / LargestFactor;
    int squareBottom = (std::max(0, top + height) + LargestFactor - 1) / LargestFactor;
    PixelView above = bitmap;
    for (int reduction = 1; reduction <= Count; ++reduction) {
        Copy &copy = m_copies[size_t(reduction - 1)];
        const int scale = LargestFactor >> reduction;
        reduce(above, copy, squareLeft * scale, squareTop * scale,
               std::min(copy.width, squareRight * scale), std::min(copy.height, squareBottom * scale));
        above = viewOf(copy);
    }
}

void ReducedCopies::clear()
{
    *this = ReducedCopies();
}

size_t ReducedCopies::bytes() const
{
    size_t total = 0;
    for (const Copy &copy : m_copies)
        total += copy.pixels.capacity() * sizeof(uint32_t);
    return total;
}

} // namespace tamo
