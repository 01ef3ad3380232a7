#include "view/reduced_copies.h"

#include <algorithm>
#include <optional>

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

// The row of cells in one copy, line by line across the row: Side pixels a cell side,
// so that each line of a cell is a copy of a size the compiler knows.
template<int Side>
void copyReducedCells(const ReducedCopies::Copy &from, ReducedCopies::Copy &to,
                      std::span<const std::optional<PicturePoint>> corners, int x, int y)
{
    constexpr int Shift = Side == 16 ? 1 : Side == 8 ? 2 : 3;
    const int top = y >> Shift;
    for (int line = 0; line < Side; ++line) {
        uint32_t *out = to.pixels.data() + size_t(top + line) * size_t(to.width) + size_t(x >> Shift);
        for (size_t i = 0; i < corners.size(); ++i, out += Side) {
            const std::optional<PicturePoint> &corner = corners[i];
            if (corner)
                std::copy_n(from.pixels.data() + size_t((corner->y >> Shift) + line) * size_t(from.width)
                                + size_t(corner->x >> Shift),
                            Side, out);
        }
    }
}

bool holdsCell(const ReducedCopies::Copy &copy, int reduction, int x, int y)
{
    return x >= 0 && y >= 0 && ((x + CellPixels) >> reduction) <= copy.width
           && ((y + CellPixels) >> reduction) <= copy.height;
}

} // namespace

void ReducedCopies::rebuild(PixelView bitmap)
{
    resize(bitmap.width, bitmap.height);
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

void ReducedCopies::resize(int width, int height)
{
    m_sourceWidth = width;
    m_sourceHeight = height;
    for (int reduction = 1; reduction <= Count; ++reduction) {
        Copy &copy = m_copies[size_t(reduction - 1)];
        copy.width = width >> reduction;
        copy.height = height >> reduction;
        // The memory stays for the copies of the next bitmap.
        copy.pixels.resize(size_t(copy.width) * size_t(copy.height));
    }
}

void ReducedCopies::copyCellRow(const ReducedCopies &from, std::span<const std::optional<PicturePoint>> corners,
                                int x, int y)
{
    // A cell that would not fit is left out rather than read or written beyond a copy.
    const int last = x + int(corners.size() - 1) * CellPixels;
    if (corners.empty() || x % CellPixels != 0 || y % CellPixels != 0 || !holdsCell(copy(3), 3, x, y)
        || !holdsCell(copy(3), 3, last, y))
        return;
    for (const std::optional<PicturePoint> &corner : corners) {
        if (corner && (corner->x % LargestFactor != 0 || corner->y % LargestFactor != 0
                       || !holdsCell(from.copy(3), 3, corner->x, corner->y)))
            return;
    }
    copyReducedCells<16>(from.copy(1), m_copies[0], corners, x, y);
    copyReducedCells<8>(from.copy(2), m_copies[1], corners, x, y);
    copyReducedCells<4>(from.copy(3), m_copies[2], corners, x, y);
}

size_t ReducedCopies::bytes() const
{
    size_t total = 0;
    for (const Copy &copy : m_copies)
        total += copy.pixels.capacity() * sizeof(uint32_t);
    return total;
}

} // namespace tamo
