#include "view/map_lines.h"

#include "view/canvas.h"

#include <algorithm>
#include <vector>

namespace tamo {

namespace {

// Mixes a colour over pixels: each channel becomes (channel x (256 - alpha) + colour x
// alpha) / 256, red and blue side by side in 16-bit lanes, then green.
class LineColour
{
public:
    constexpr LineColour(uint32_t rgb, uint32_t alpha)
        : m_keep(256 - alpha)
        , m_redBlue((rgb & 0x00FF00FF) * alpha)
        , m_green((rgb & 0x0000FF00) * alpha)
    {
    }

    uint32_t over(uint32_t pixel) const
    {
        const uint32_t redBlue = (((pixel & 0x00FF00FF) * m_keep + m_redBlue) >> 8) & 0x00FF00FF;
        const uint32_t green = (((pixel & 0x0000FF00) * m_keep + m_green) >> 8) & 0x0000FF00;
        return (pixel & 0xFF000000) | redBlue | green;
    }

private:
    uint32_t m_keep;
    uint32_t m_redBlue;
    uint32_t m_green;
};

constexpr LineColour GridColour(0x000000, 90);
constexpr LineColour ScreenLineColour(0xFF8000, 230);

// The lines of one kind, every spacing image pixels, across the part of the view in target.
void drawLines(MutablePixelView target, int left, int top, const MapZoom &zoom, int imageWidth,
               int imageHeight, int spacing, bool horizontalToo, const LineColour &colour)
{
    const int right = std::min(left + target.width, imageWidth);
    const int bottom = std::min(top + target.height, imageHeight);
    if (right <= left || bottom <= top)
        return;
    // The view positions of the lines from a view position up to an end, each made once.
    const auto linesBetween = [&](int from, int to) {
        std::vector<int> positions;
        for (int line = zoom.toImage(from) / spacing, at; (at = zoom.toView(line * spacing)) < to; ++line) {
            if (at >= from)
                positions.push_back(at);
        }
        return positions;
    };
    const std::vector<int> columns = linesBetween(left, right);
    for (int y = top; y < bottom; ++y) {
        uint32_t *row = target.line(y - top) - left;
        for (int x : columns)
            row[x] = colour.over(row[x]);
    }
    if (!horizontalToo)
        return;
    for (int y : linesBetween(top, bottom)) {
        uint32_t *row = target.line(y - top);
        for (int x = 0; x < right - left; ++x)
            row[x] = colour.over(row[x]);
    }
}

} // namespace

void DrawMapLines(MutablePixelView target, int left, int top, const MapZoom &zoom, int imageWidth,
                  int imageHeight, MapLines lines)
{
    if (lines.grid)
        drawLines(target, left, top, zoom, imageWidth, imageHeight, CellPixels, true, GridColour);
    if (lines.screenLines)
        drawLines(target, left, top, zoom, imageWidth, imageHeight, ScreenWidth, false, ScreenLineColour);
}

} // namespace tamo
