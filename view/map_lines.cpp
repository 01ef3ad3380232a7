#include "view/map_lines.h"

#include "view/canvas.h"

#include <algorithm>

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

} // namespace

MapLineRows::MapLineRows(int left, int top, int width, int height, const MapZoom &zoom,
                         int imageWidth, int imageHeight, MapLines lines)
    : m_left(left)
    , m_right(std::min(left + width, imageWidth))
    , m_bottom(std::min(top + height, imageHeight))
{
    if (lines.grid) {
        m_gridColumns = positions(zoom, CellPixels, left, m_right);
        m_gridRows = positions(zoom, CellPixels, top, m_bottom);
    }
    if (lines.screenLines)
        m_screenColumns = positions(zoom, ScreenWidth, left, m_right);
}

std::vector<int> MapLineRows::positions(const MapZoom &zoom, int spacing, int first, int end)
{
    std::vector<int> found;
    for (int line = std::max(0, zoom.toImage(first) / spacing), at; (at = zoom.toView(line * spacing)) < end; ++line) {
        if (at >= first)
            found.push_back(at);
    }
    return found;
}

void MapLineRows::drawInto(uint32_t *row, int y) const
{
    if (y >= m_bottom)
        return;
    uint32_t *pixels = row - m_left;
    if (std::binary_search(m_gridRows.begin(), m_gridRows.end(), y)) {
        for (int x = m_left; x < m_right; ++x)
            pixels[x] = GridColour.over(pixels[x]);
    }
    for (int x : m_gridColumns)
        pixels[x] = GridColour.over(pixels[x]);
    for (int x : m_screenColumns)
        pixels[x] = ScreenLineColour.over(pixels[x]);
}

} // namespace tamo
