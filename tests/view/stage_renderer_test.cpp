#include "core/rom_patch.h"
#include "core/stage.h"
#include "qtcommon/qt_canvas.h"
#include "tests/view/view_test_support.h"
#include "view/stage_renderer.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tamo {
namespace {

using test::StageFixture;
using test::tilePixel;

QRgb background()
{
    return qRgb(BackgroundColor.red, BackgroundColor.green, BackgroundColor.blue);
}

// Counts the pixels of cell (c, r) that differ from what the tile word shows.
int wrongPixels(const QImage &image, int c, int r, uint16_t word)
{
    int wrong = 0;
    for (int j = 0; j < 32; ++j) {
        for (int i = 0; i < 32; ++i)
            wrong += image.pixel(32 * c + i, 32 * r + j) != tilePixel(word, i, j);
    }
    return wrong;
}

int nonBackgroundPixels(const QImage &image, QRect area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) != background();
    }
    return count;
}

class StageRenderer : public testing::Test
{
protected:
    void render()
    {
        canvas.resize(fixture.stage.MapWidth * 32, fixture.stage.MapHeight * 32);
        DrawTileMap(fixture.scene(canvas));
    }

    StageFixture fixture{4};
    QtCanvas canvas;
};

TEST_F(StageRenderer, WordZeroShowsTheTopLeftChipUnmirrored)
{
    render();
    EXPECT_EQ(wrongPixels(canvas.bitmap(), 0, 0, 0x0000), 0);
    EXPECT_EQ(canvas.bitmap().pixel(0, 0), test::chipPixel(0, 0, 0));
}

TEST_F(StageRenderer, EachFlipShowsTheChipMirrored)
{
    const uint16_t words[] = {0x0023, 0x4023, 0x8023, 0xC023};
    for (int c = 0; c < 4; ++c)
        fixture.setTile(c, 5, words[c]);
    render();
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(wrongPixels(canvas.bitmap(), c, 5, words[c]), 0) << std::hex << words[c];
    // Mirrored left-right: the first pixel of 0x4023 is the last of the chip's top row.
    EXPECT_EQ(canvas.bitmap().pixel(32, 160), test::chipPixel(0x23, 31, 0));
    EXPECT_EQ(canvas.bitmap().pixel(96, 160), test::chipPixel(0x23, 31, 31));
}

TEST_F(StageRenderer, MapIsStoredColumnByColumn)
{
    // With 16 rows, one column to the right is 32 bytes further on.
    fixture.setTile(0, 1, 0x0007);
    fixture.setTile(1, 0, 0x0009);
    render();
    EXPECT_EQ(wrongPixels(canvas.bitmap(), 0, 1, 0x0007), 0);
    EXPECT_EQ(wrongPixels(canvas.bitmap(), 1, 0, 0x0009), 0);
    EXPECT_EQ(fixture.rom.readWord(StageFixture::TilemapAt + 32, "check"), 0x0009);
}

TEST_F(StageRenderer, TilemapStartChoosesTheFirstShownColumn)
{
    fixture.stage.TilemapStart = 0x0130; // column 9, the 16 pixels beyond it dropped
    fixture.setTile(9, 0, 0x0042);
    fixture.setTile(8, 0, 0x0011);
    render();
    EXPECT_EQ(wrongPixels(canvas.bitmap(), 0, 0, 0x0042), 0);
}

TEST_F(StageRenderer, ChipRowBeyondTheBitmapShowsTheBackground)
{
    fixture.chips = test::makeChipPicture(512); // 256 chips
    fixture.setTile(0, 0, 0x00FF);
    fixture.setTile(1, 0, 0x0100);
    render();
    EXPECT_EQ(wrongPixels(canvas.bitmap(), 0, 0, 0x00FF), 0);
    EXPECT_EQ(nonBackgroundPixels(canvas.bitmap(), QRect(32, 0, 32, 32)), 0);
}

TEST_F(StageRenderer, ChipOfAPartialLastRowShowsTheBackground)
{
    fixture.chips = test::makeChipPicture(80); // two whole rows and 16 pixels of a third
    fixture.setTile(0, 0, 0x0020);
    render();
    EXPECT_EQ(nonBackgroundPixels(canvas.bitmap(), QRect(0, 0, 32, 32)), 0);
}

TEST_F(StageRenderer, CellsOutsideTheRomImageShowTheBackground)
{
    fixture.stage.TilemapOffset = StageFixture::RomSize - 2 * 15; // column 0 but its last row
    fixture.rom.writeWord(fixture.stage.TilemapOffset, 0x0005, "test");
    render();
    EXPECT_EQ(wrongPixels(canvas.bitmap(), 0, 0, 0x0005), 0);
    EXPECT_EQ(nonBackgroundPixels(canvas.bitmap(), QRect(0, 15 * 32, 32, 32)), 0);
    EXPECT_EQ(nonBackgroundPixels(canvas.bitmap(), QRect(32, 0, 96, 512)), 0);
}

TEST_F(StageRenderer, RepaintedCellCoversWhatWasThere)
{
    fixture.setTile(2, 3, 0x0001);
    render();
    fixture.setTile(2, 3, 0x3FFF); // far below the chip bitmap
    DrawCell(fixture.scene(canvas), 2, 3);
    EXPECT_EQ(nonBackgroundPixels(canvas.bitmap(), QRect(64, 96, 32, 32)), 0);
    fixture.setTile(2, 3, 0x8002);
    DrawCell(fixture.scene(canvas), 2, 3);
    EXPECT_EQ(wrongPixels(canvas.bitmap(), 2, 3, 0x8002), 0);
}

TEST_F(StageRenderer, DrawCellTouchesOnlyItsCell)
{
    render();
    const QImage before = canvas.bitmap().copy();
    fixture.setTile(1, 1, 0x0033);
    fixture.setTile(2, 2, 0x0044); // not redrawn
    DrawCell(fixture.scene(canvas), 1, 1);
    EXPECT_EQ(wrongPixels(canvas.bitmap(), 1, 1, 0x0033), 0);
    QImage after = canvas.bitmap().copy();
    QImage expected = before;
    for (int y = 32; y < 64; ++y) {
        for (int x = 32; x < 64; ++x)
            expected.setPixel(x, y, after.pixel(x, y));
    }
    EXPECT_EQ(after, expected);
}

TEST_F(StageRenderer, ChangedCellsAreDrawnWhereverThePatchWritesAndNowhereElse)
{
    render();
    const QImage before = canvas.bitmap().copy();
    // Cells (0, 1) and (1, 1) side by side in a row, (3, 1) apart from them, (0, 2) below
    // (0, 1), whose word follows in the map, and (2, 0) in another row; (2, 1) changes in the
    // image but the patch does not write it. The patch writes cell (0, 1) twice and only the
    // high byte of (3, 1).
    const std::pair<CellPosition, uint16_t> changed[] = {
        {{0, 1}, 0x0011}, {{1, 1}, 0x4012}, {{3, 1}, 0x8013}, {{0, 2}, 0x0016}, {{2, 0}, 0x0014}};
    for (const auto &[cell, word] : changed)
        fixture.setTile(cell.column, cell.row, word);
    fixture.setTile(2, 1, 0x0015);
    RomPatch patch;
    patch.write(TileCellOffset(fixture.stage, 0, 1), std::vector<uint8_t>(4), "t")
        .write(TileCellOffset(fixture.stage, 3, 1) + 1, std::vector<uint8_t>(1), "t")
        .write(TileCellOffset(fixture.stage, 1, 1), std::vector<uint8_t>(2), "t")
        .write(TileCellOffset(fixture.stage, 2, 0), std::vector<uint8_t>(2), "t")
        .write(TileCellOffset(fixture.stage, 0, 1), std::vector<uint8_t>(2), "t");
    EXPECT_EQ(DrawChangedCells(fixture.scene(canvas), patch),
              (std::vector<CellPosition>{{0, 1}, {0, 2}, {1, 1}, {2, 0}, {3, 1}}));
    QImage expected = before;
    for (const auto &[cell, word] : changed) {
        EXPECT_EQ(wrongPixels(canvas.bitmap(), cell.column, cell.row, word), 0);
        for (int y = 32 * cell.row; y < 32 * cell.row + 32; ++y) {
            for (int x = 32 * cell.column; x < 32 * cell.column + 32; ++x)
                expected.setPixel(x, y, canvas.bitmap().pixel(x, y));
        }
    }
    EXPECT_EQ(canvas.bitmap(), expected);
}

TEST_F(StageRenderer, RedrawPaintsOverTheSameBitmap)
{
    render();
    RedrawStage(fixture.scene(canvas));
    RedrawStage(fixture.scene(canvas));
    EXPECT_EQ(canvas.bitmapsMade(), 1);
}

TEST_F(StageRenderer, ScreenModesOneAndTwoDrawNothing)
{
    for (int mode : {1, 2}) {
        fixture.stage.ScreenMode = mode;
        canvas.resize(64, 64);
        RedrawStage(fixture.scene(canvas));
        DrawCell(fixture.scene(canvas), 0, 0);
        EXPECT_TRUE(canvas.bitmap().isNull()) << "mode " << mode;
        EXPECT_EQ(canvas.picture().pixel(0, 0), background());
    }
}

TEST_F(StageRenderer, MapWithoutColumnsDrawsNothing)
{
    // TilemapEnd far below TilemapStart gives a negative width.
    fixture.stage.MapWidth = -2039;
    render();
    EXPECT_EQ(canvas.width(), 0);
    EXPECT_EQ(canvas.bitmapsMade(), 0);
}

TEST_F(StageRenderer, TooWideStageIsNarrowedByWholeCells)
{
    // Room for 2.5 columns of 512 rows: the image keeps 2 of its 4 columns.
    canvas.setBitmapLimit(int64_t(80) * 512 * 4);
    for (int c = 0; c < 4; ++c)
        fixture.setTile(c, 0, uint16_t(0x10 + c));
    render();
    EXPECT_EQ(canvas.width(), 64);
    EXPECT_EQ(canvas.height(), 512);
    EXPECT_EQ(canvas.bitmap().width(), 64);
    EXPECT_EQ(wrongPixels(canvas.bitmap(), 0, 0, 0x10), 0);
    EXPECT_EQ(wrongPixels(canvas.bitmap(), 1, 0, 0x11), 0);
    EXPECT_EQ(canvas.bitmapsMade(), 1);
    EXPECT_EQ(fixture.stage.MapWidth, 4);
}

TEST_F(StageRenderer, StageThatFitsNoBitmapEndsAtWidthZero)
{
    canvas.setBitmapLimit(100);
    render();
    EXPECT_EQ(canvas.width(), 0);
    EXPECT_EQ(canvas.bitmapsMade(), 0);
}

TEST_F(StageRenderer, NarrowingWorksThroughDrawCellToo)
{
    canvas.resize(128, 512);
    canvas.setBitmapLimit(int64_t(96) * 512 * 4);
    fixture.setTile(0, 0, 0x0021);
    DrawCell(fixture.scene(canvas), 0, 0);
    EXPECT_EQ(canvas.width(), 96);
    EXPECT_EQ(wrongPixels(canvas.bitmap(), 0, 0, 0x0021), 0);
}

} // namespace
} // namespace tamo
