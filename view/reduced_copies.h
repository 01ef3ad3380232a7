#pragma once

#include "view/canvas.h"
#include "view/pixel_view.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tamo {

// The stage bitmap reduced by 2, 4 and 8, for the zooms below 1. Each copy is the one
// before it (the bitmap itself for the first) with every square of 2 x 2 pixels made one
// pixel of their mean, channel by channel, halves rounded up. Together they take 21/64 of
// the bitmap's memory. A drawing into the bitmap is followed by update() of its area,
// which reduces only the 8 x 8 squares that area touches; a cell copied whole from
// another bitmap, whose copies are at hand, takes their reduced cell instead.
class ReducedCopies
{
public:
    static constexpr int Count = 3;
    // The side of the squares of bitmap pixels that make one pixel of the smallest copy.
    static constexpr int LargestFactor = 1 << Count;

    struct Copy
    {
        int width = 0;
        int height = 0;
        std::vector<uint32_t> pixels; // line after line, without gaps

        uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    };

    // Makes the copies anew for the bitmap, at its size. A last line or column that does
    // not fill a square is left out.
    void rebuild(PixelView bitmap);
    // Reduces again every square that meets the area [left, left + width) x [top, top + height)
    // of the bitmap; a bitmap of another size than the copies were made for rebuilds them.
    void update(PixelView bitmap, int left, int top, int width, int height);
    // Sizes the copies for a bitmap of that size, their pixels to be made by the calls
    // that follow; the memory of larger copies before is kept.
    void resize(int width, int height);
    // Cell i of the row whose first cell lies at (x, y) of the bitmap now holds the pixels
    // of the 32 x 32 cell at corners[i] of the bitmap that from was made for: it takes
    // the reduced pixels of that cell. Cells without a corner are left as they are. The
    // cells lie on the 32-pixel grid, the corners on the 8-pixel one, both whole inside
    // their bitmaps.
    void copyCellRow(const ReducedCopies &from, std::span<const std::optional<PicturePoint>> corners,
                     int x, int y);

    // The copy reduced by 2 to the power of reduction (1 to 3).
    const Copy &copy(int reduction) const { return m_copies[size_t(reduction - 1)]; }
    // The size of the bitmap the copies were made for; 0 x 0 when there are none.
    int sourceWidth() const { return m_sourceWidth; }
    int sourceHeight() const { return m_sourceHeight; }
    size_t bytes() const;

private:
    std::array<Copy, Count> m_copies;
    int m_sourceWidth = 0;
    int m_sourceHeight = 0;
};

} // namespace tamo
