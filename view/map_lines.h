#pragma once

#include "view/map_zoom.h"

#include <cstdint>
#include <vector>

namespace tamo {

// The lines the stage view can show over the map: a thin line along every cell's left
// and top edge, and an orange line every 256 image pixels across (one screen width).
struct MapLines
{
    bool grid = false;
    bool screenLines = false;

    friend bool operator==(const MapLines &, const MapLines &) = default;
};

constexpr int ScreenWidth = 256; // image pixels

// The lines over a part of the view, worked out once, then mixed into its rows one at a
// time, while each row is at hand. The image covers the view from (0, 0) to (imageWidth,
// imageHeight); no line is drawn beyond it. Each line is one view pixel wide at every zoom.
class MapLineRows
{
public:
    // The part of the view from view pixel (left, top) on, width x height pixels.
    MapLineRows(int left, int top, int width, int height, const MapZoom &zoom, int imageWidth,
                int imageHeight, MapLines lines);

    // Mixes the lines into view row y, whose pixels from view pixel left on are at row.
    void drawInto(uint32_t *row, int y) const;

private:
    // The view positions of the lines every spacing image pixels from first up to end.
    static std::vector<int> positions(const MapZoom &zoom, int spacing, int first, int end);

    int m_left;
    int m_right;  // the end of the image's part of the rows
    int m_bottom; // the end of the image's part of the view
    std::vector<int> m_gridColumns;
    std::vector<int> m_gridRows;
    std::vector<int> m_screenColumns;
};

} // namespace tamo
