#include "view/map_lines.h"

#include <gtest/gtest.h>

#include <vector>

namespace tamo {
namespace {

constexpr uint32_t Grey = 0xFF808080;

// A part of the view, 300 x 100 pixels from view pixel (10, 20) on, all grey.
struct ViewPart
{
    std::vector<uint32_t> pixels = std::vector<uint32_t>(300 * 100, Grey);
    uint32_t at(int x, int y) const { return pixels[size_t(y - 20) * 300 + size_t(x - 10)]; }

    // The lines mixed in row by row, over an image that ends at (imageWidth, imageHeight).
    void drawLines(const char *zoom, int imageWidth, int imageHeight, MapLines lines)
    {
        const MapLineRows rows(10, 20, 300, 100, MapZoom::FromSetting(zoom), imageWidth, imageHeight, lines);
        for (int y = 20; y < 120; ++y)
            rows.drawInto(pixels.data() + size_t(y - 20) * 300, y);
    }
};

TEST(MapLines, CellLinesLieOnTheCellsLeftAndTopEdgesInsideTheImageOnly)
{
    ViewPart part;
    // At 2 the cells are 64 view pixels; the image ends at view pixel (250, 90).
    part.drawLines("2", 250, 90, {true, false});
    // 0x80 darkened: 128 x 166 / 256 = 83, twice where two lines cross: 83 x 166 / 256 = 53.
    const uint32_t line = 0xFF535353;
    const uint32_t crossing = 0xFF353535;
    for (int x = 10; x < 310; ++x) {
        for (int y = 20; y < 120; ++y) {
            const bool inImage = x < 250 && y < 90;
            const bool down = x % 64 == 0;
            const bool across = y == 64;
            const uint32_t expected = !inImage ? Grey : down && across ? crossing : down || across ? line : Grey;
            ASSERT_EQ(part.at(x, y), expected) << x << ", " << y;
        }
    }
}

TEST(MapLines, ScreenLinesStandEvery256ImagePixelsInOrange)
{
    ViewPart part;
    // At 1/2 a screen is 128 view pixels wide.
    part.drawLines("1/2", 300, 100, {false, true});
    // Grey under orange (255, 128, 0) at 230 / 256: (128 x 26 + 255 x 230) / 256 = 242, and so on.
    for (int y = 20; y < 100; ++y) {
        EXPECT_EQ(part.at(128, y), 0xFFF2800D) << y;
        EXPECT_EQ(part.at(256, y), 0xFFF2800D) << y;
        EXPECT_EQ(part.at(129, y), Grey) << y;
    }
    EXPECT_EQ(part.at(64, 50), Grey) << "no cell lines";
    EXPECT_EQ(part.at(128, 100), Grey) << "below the image";
}

} // namespace
} // namespace tamo
