#pragma once

#include "view/map_zoom.h"
#include "view/pixel_view.h"

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

// Blends the lines into a part of the view: target holds the view pixels from (left, top)
// on; the image covers the view from (0, 0) to (imageWidth, imageHeight), and no line is
// drawn beyond it. Each line is one view pixel wide at every zoom.
void DrawMapLines(MutablePixelView target, int left, int top, const MapZoom &zoom, int imageWidth,
                  int imageHeight, MapLines lines);

} // namespace tamo
