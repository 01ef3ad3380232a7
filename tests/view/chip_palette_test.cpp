#include "qtcommon/qt_canvas.h"
#include "tests/view/view_test_support.h"
#include "view/chip_palette.h"
#include "view/map_pen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tamo {
namespace {

using test::chipPixel;
using test::RecordingCanvas;

// The palette cell (i, j) shows chip j x 16 + i in the orientation of the flips.
int wrongCellPixels(const QImage &image, int i, int j, bool hFlip, bool vFlip, bool inverted)
{
    int wrong = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            QRgb expected = chipPixel(j * 16 + i, hFlip ? 31 - x : x, vFlip ? 31 - y : y);
            if (inverted)
                expected = qRgb(255 - qRed(expected), 255 - qGreen(expected), 255 - qBlue(expected));
            wrong += image.pixel(32 * i + x, 32 * j + y) != expected;
        }
    }
    return wrong;
}

TEST(ChipPalette, ShowsEveryChipOfTheBitmap)
{
    const auto chips = test::makeChipPicture(1024);
    Pen pen;
    pen.CurrentChip = 0x1FF + 1; // beyond the last chip: nothing inverted
    QtCanvas palette;
    ASSERT_TRUE(DrawChipPalette(true, chips.get(), pen, palette));
    EXPECT_EQ(palette.width(), 512);
    EXPECT_EQ(palette.height(), 1024);
    for (int chip : {0, 0x13, 0x1F0, 0x1FF})
        EXPECT_EQ(wrongCellPixels(palette.bitmap(), chip % 16, chip / 16, false, false, false), 0);
}

TEST(ChipPalette, FlipsChooseTheOrientationBlock)
{
    const auto chips = test::makeChipPicture(256);
    QtCanvas palette;
    for (int flips = 0; flips < 4; ++flips) {
        Pen pen;
        pen.CurrentChip = 0x7F;
        pen.HFlip = flips & 1;
        pen.VFlip = flips & 2;
        ASSERT_TRUE(DrawChipPalette(true, chips.get(), pen, palette));
        for (int chip : {0, 0x25, 0x7E})
            EXPECT_EQ(wrongCellPixels(palette.bitmap(), chip % 16, chip / 16, pen.HFlip, pen.VFlip, false), 0)
                << "flips " << flips << " chip " << chip;
    }
}

TEST(ChipPalette, PenChipIsInverted)
{
    const auto chips = test::makeChipPicture(256);
    Pen pen;
    pen.CurrentChip = 0x25;
    pen.VFlip = true;
    QtCanvas palette;
    DrawChipPalette(true, chips.get(), pen, palette);
    EXPECT_EQ(wrongCellPixels(palette.bitmap(), 5, 2, false, true, true), 0);
    EXPECT_EQ(wrongCellPixels(palette.bitmap(), 6, 2, false, true, false), 0);
}

TEST(ChipPalette, PartialLastRowIsNotDrawn)
{
    const auto chips = test::makeChipPicture(80);
    Pen pen;
    pen.CurrentChip = 0x21; // in the partial row
    QtCanvas palette;
    ASSERT_TRUE(DrawChipPalette(true, chips.get(), pen, palette));
    EXPECT_EQ(palette.height(), 80);
    EXPECT_EQ(wrongCellPixels(palette.bitmap(), 15, 1, false, false, false), 0);
    const QRgb background = qRgb(BackgroundColor.red, BackgroundColor.green, BackgroundColor.blue);
    for (int x = 0; x < 512; x += 17)
        EXPECT_EQ(palette.bitmap().pixel(x, 70), background);
    // A click in the partial row chooses 16 x (h div 32) + column.
    EXPECT_EQ(PaletteChipAt(100, 70), 16 * 2 + 3);
}

TEST(ChipPalette, ClickChoosesColumnPlusRowTimesSixteen)
{
    EXPECT_EQ(PaletteChipAt(100, 40), 0x13);
    EXPECT_EQ(PaletteChipAt(0, 0), 0);
    EXPECT_EQ(PaletteChipAt(511, 1023), 0x1FF);
}

TEST(ChipPalette, NothingIsDrawnBeforeARomIsOpen)
{
    const auto chips = test::makeChipPicture(64);
    RecordingCanvas palette;
    EXPECT_FALSE(DrawChipPalette(false, chips.get(), Pen{}, palette));
    EXPECT_TRUE(palette.calls.empty());
    EXPECT_EQ(palette.resizes, 0);
}

TEST(ChipPalette, MissingChipBitmapGivesAnEmptyPalette)
{
    RecordingCanvas palette;
    EXPECT_TRUE(DrawChipPalette(true, nullptr, Pen{}, palette));
    EXPECT_EQ(palette.width(), 512);
    EXPECT_EQ(palette.height(), 0);
    EXPECT_TRUE(palette.calls.empty());
}

TEST(ChipPalette, DrawsEveryCellFromAFreshBitmap)
{
    test::FakePicture chips(2048, 96);
    RecordingCanvas palette;
    Pen pen;
    pen.VFlip = true;
    pen.CurrentChip = 0x15;
    DrawChipPalette(true, &chips, pen, palette);
    palette.calls.clear();
    DrawChipPalette(true, &chips, pen, palette);
    EXPECT_EQ(palette.bitmapsMade, 2);
    std::set<std::pair<int, int>> plain;
    std::vector<std::pair<int, int>> inverted;
    for (const auto &call : palette.calls) {
        ASSERT_EQ(call.kind, RecordingCanvas::Kind::Copy);
        EXPECT_EQ(call.source, &chips);
        EXPECT_EQ(call.sourceX, 1024 + call.x);
        EXPECT_EQ(call.sourceY, call.y);
        if (call.mode == CopyMode::Plain)
            plain.emplace(call.x, call.y);
        else
            inverted.emplace_back(call.x, call.y);
    }
    EXPECT_EQ(plain.size(), 16u * 3);
    EXPECT_EQ(*plain.rbegin(), std::make_pair(480, 64));
    // The pen's chip is inverted last, over its plain copy.
    EXPECT_EQ(inverted, (std::vector<std::pair<int, int>>{{5 * 32, 32}}));
    const auto last = std::find_if(palette.calls.begin(), palette.calls.end(), [](const auto &call) {
        return call.x == 5 * 32 && call.y == 32 && call.mode == CopyMode::Plain;
    });
    ASSERT_NE(last, palette.calls.end());
    EXPECT_LT(last - palette.calls.begin(),
              std::find_if(palette.calls.begin(), palette.calls.end(),
                           [](const auto &call) { return call.mode == CopyMode::Inverted; })
                  - palette.calls.begin());
}

TEST(ChipPalette, OutOfResourcesStopsAtOnce)
{
    test::FakePicture chips(2048, 96);
    RecordingCanvas palette;
    palette.failAtCall = 5;
    EXPECT_FALSE(DrawChipPalette(true, &chips, Pen{}, palette));
    EXPECT_EQ(palette.calls.size(), 5u);

    RecordingCanvas tooLarge;
    tooLarge.setBitmapLimit(1000);
    EXPECT_FALSE(DrawChipPalette(true, &chips, Pen{}, tooLarge));
    EXPECT_TRUE(tooLarge.calls.empty());
}

} // namespace
} // namespace tamo
