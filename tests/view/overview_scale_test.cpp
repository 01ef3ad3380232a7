// How the whole stage fits the overview window; the sizes are worked out by hand.
#include "view/overview_scale.h"

#include <gtest/gtest.h>

namespace {

using tamo::OverviewScale;
using tamo::PixelArea;
using tamo::PicturePoint;

TEST(OverviewScaleTest, TheStageFitsTheRoomsWidthUnlessTooTallAndIsNeverEnlarged)
{
    struct Case
    {
        int stageWidth, stageHeight, roomWidth, roomHeight;
        int width, height, reduction;
    };
    const Case cases[] = {
        // The widest stage, 2,055 x 16 cells: 65,760 / 800 = 82.2, 512 / 82.2 = 6.2.
        {65760, 512, 800, 120, 800, 6, 3},
        // 120 x 16 cells: the copy reduced by 8 (480 pixels) is still wider than 300...
        {3840, 512, 300, 120, 300, 40, 3},
        // ... but not than 700, which the copy reduced by 4 (960) is.
        {3840, 512, 700, 120, 700, 93, 2},
        // A tall stage: 120 pixels of height allow 256 * 120 / 6400 = 4.8 pixels of width.
        {256, 6400, 800, 120, 4, 100, 3},
        // Smaller than the room: as it is.
        {512, 512, 800, 600, 512, 512, 0},
        // Exactly half: the copy reduced by 2 has the size.
        {1024, 512, 512, 600, 512, 256, 1},
        // One pixel of height is kept for a flat picture.
        {65760, 32, 100, 100, 100, 1, 3},
    };
    for (const Case &c : cases) {
        const OverviewScale scale(c.stageWidth, c.stageHeight, c.roomWidth, c.roomHeight);
        EXPECT_EQ(scale.width(), c.width) << c.stageWidth << " x " << c.stageHeight;
        EXPECT_EQ(scale.height(), c.height) << c.stageWidth << " x " << c.stageHeight;
        EXPECT_EQ(scale.reduction(), c.reduction) << c.stageWidth << " x " << c.stageHeight;
    }
    for (const OverviewScale &empty : {OverviewScale(0, 512, 800, 120), OverviewScale(3840, 512, 0, 120),
                                       OverviewScale(3840, 512, 800, 0), OverviewScale()}) {
        EXPECT_EQ(empty.width(), 0);
        EXPECT_EQ(empty.height(), 0);
        EXPECT_EQ(empty.toOverview({0, 0, 10, 10}), PixelArea());
        EXPECT_EQ(empty.toStage({5, 5}), PicturePoint());
    }
}

TEST(OverviewScaleTest, AreasAndPointsGoBetweenStageAndOverview)
{
    // 3840 x 512 shown in 480 x 64: one overview pixel for each 8 x 8 stage pixels.
    const OverviewScale eighth(3840, 512, 480, 120);
    ASSERT_EQ(eighth.width(), 480);
    ASSERT_EQ(eighth.height(), 64);
    EXPECT_EQ(eighth.toOverview({0, 0, 3840, 512}), (PixelArea{0, 0, 480, 64}));
    EXPECT_EQ(eighth.toOverview({800, 16, 1600, 400}), (PixelArea{100, 2, 200, 50}));
    // Parts of pixels are taken whole; an area of one stage pixel still shows.
    EXPECT_EQ(eighth.toOverview({801, 17, 8, 8}), (PixelArea{100, 2, 2, 2}));
    EXPECT_EQ(eighth.toOverview({3839, 511, 1, 1}), (PixelArea{479, 63, 1, 1}));
    // Beyond the picture it is cut; an area wholly beyond it keeps one pixel at the edge.
    EXPECT_EQ(eighth.toOverview({3600, -40, 1000, 100}), (PixelArea{450, 0, 30, 8}));
    EXPECT_EQ(eighth.toOverview({5000, 0, 100, 100}), (PixelArea{479, 0, 1, 13}));
    // The middle of overview pixel 100 is stage pixel 804; beyond the picture the edges.
    EXPECT_EQ(eighth.toStage({100, 2}), (PicturePoint{804, 20}));
    EXPECT_EQ(eighth.toStage({0, 0}), (PicturePoint{4, 4}));
    EXPECT_EQ(eighth.toStage({-30, 500}), (PicturePoint{4, 508}));
    EXPECT_EQ(eighth.toStage({479, 63}), (PicturePoint{3836, 508}));

    // A ratio that is not whole: 65,760 pixels in 800, 82.2 each.
    const OverviewScale widest(65760, 512, 800, 120);
    EXPECT_EQ(widest.toStage({400, 3}), (PicturePoint{32921, 298}));
    EXPECT_EQ(widest.toOverview({32880, 0, 1600, 512}), (PixelArea{400, 0, 20, 6}));
}

} // namespace
