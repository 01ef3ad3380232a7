#include "view/map_pen.h"
#include "view/tile_word.h"

#include <gtest/gtest.h>

namespace tamo {
namespace {

TEST(TileSource, TheFlipBitsPickTheOrientationBlock)
{
    EXPECT_EQ(TileSource(0x0000), (PicturePoint{0, 0}));
    EXPECT_EQ(TileSource(0x0023), (PicturePoint{96, 64}));
    EXPECT_EQ(TileSource(0x4023), (PicturePoint{608, 64}));
    EXPECT_EQ(TileSource(0x8023), (PicturePoint{1120, 64}));
    EXPECT_EQ(TileSource(0xC023), (PicturePoint{1632, 64}));
}

TEST(TileSource, AllFourteenLowBitsAreTheChipNumber)
{
    // Chip 0x3FFF: column 15, row 1023; no palette or priority bits are taken out.
    EXPECT_EQ(TileSource(0x3FFF), (PicturePoint{480, 1023 * 32}));
    EXPECT_EQ(TileSource(0x2010), (PicturePoint{0, 0x201 * 32}));
}

TEST(TileSource, ChipKeepsItsColumnAndRowInEveryBlock)
{
    for (int chip : {0, 5, 0x13, 0x1FF}) {
        const PicturePoint plain = ChipSource(chip, false, false);
        EXPECT_EQ(ChipSource(chip, true, false), (PicturePoint{plain.x + 512, plain.y}));
        EXPECT_EQ(ChipSource(chip, false, true), (PicturePoint{plain.x + 1024, plain.y}));
        EXPECT_EQ(ChipSource(chip, true, true), (PicturePoint{plain.x + 1536, plain.y}));
    }
}

TEST(PenTileWord, FlipsSetTheHighBits)
{
    Pen pen;
    pen.CurrentChip = 0x123;
    pen.HFlip = true;
    EXPECT_EQ(PenTileWord(pen), 0x4123); // written as the bytes 0x23, 0x41
    pen.VFlip = true;
    EXPECT_EQ(PenTileWord(pen), 0xC123);
    pen.HFlip = false;
    EXPECT_EQ(PenTileWord(pen), 0x8123);
}

TEST(PenTileWord, IsCutToSixteenBits)
{
    Pen pen;
    pen.CurrentChip = 0x12345;
    EXPECT_EQ(PenTileWord(pen), 0x2345);
}

} // namespace
} // namespace tamo
