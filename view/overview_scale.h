#pragma once

#include "view/canvas.h"

namespace tamo {

// A rectangle of pixels: [left, left + width) x [top, top + height).
struct PixelArea
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelArea &, const PixelArea &) = default;
};

// How the whole stage picture fits a room: as wide as the room, or narrower when the
// picture would be taller than the room at that width; never larger than the stage
// picture itself. Each axis has its own ratio, so that both edges meet the picture's.
class OverviewScale
{
public:
    OverviewScale() = default;
    OverviewScale(int stageWidth, int stageHeight, int roomWidth, int roomHeight);

    // The size of the reduced picture; 0 x 0 for an empty stage picture or room.
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Which reduced copy the picture is best made from: the smallest one (0 for the stage
    // picture itself, 1 to 3 for the copies reduced by 2, 4 and 8) that is still at least
    // as large as the picture.
    int reduction() const;

    // The overview pixels that show some of the stage area, at least one pixel each way;
    // clipped to the picture.
    PixelArea toOverview(const PixelArea &stageArea) const;
    // The stage pixel shown in the middle of an overview pixel; points beyond the picture
    // give the nearest stage pixel.
    PicturePoint toStage(PicturePoint overview) const;

private:
    int m_stageWidth = 0;
    int m_stageHeight = 0;
    int m_width = 0;
    int m_height = 0;
};

} // namespace tamo
