#include "core/rom_patch.h"
#include "qtcommon/qt_canvas.h"
#include "qtcommon/zoomed_picture.h"
#include "tests/support/halved_picture.h"
#include "tests/view/view_test_support.h"
#include "view/reduced_copies.h"
#include "view/stage_marks.h"
#include "view/stage_renderer.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <random>

namespace tamo {
namespace {

using test::HalvedPicture;

QImage imageOf(const ReducedCopies::Copy &copy)
{
    QImage image(copy.width, copy.height, QImage::Format_RGB32);
    for (int y = 0; y < copy.height; ++y) {
        for (int x = 0; x < copy.width; ++x)
            image.setPixel(x, y, copy.at(x, y));
    }
    return image;
}

PixelView pixelsOf(const QImage &image)
{
    return {reinterpret_cast<const uint32_t *>(image.constBits()), image.width(), image.height(),
            image.bytesPerLine() / 4};
}

void expectReductionsOf(const QImage &bitmap, const ReducedCopies &copies)
{
    QImage expected = bitmap.convertToFormat(QImage::Format_RGB32);
    for (int reduction = 1; reduction <= ReducedCopies::Count; ++reduction) {
        expected = HalvedPicture(expected);
        EXPECT_TRUE(imageOf(copies.copy(reduction)) == expected) << "reduced by " << (1 << reduction);
    }
}

// What the stage view paints of the picture at a zoom, as a picture of its own.
QImage painted(ZoomedPicture &picture, const MapZoom &zoom, const QSize &size)
{
    QImage view(size, QImage::Format_RGB32);
    view.fill(Qt::black);
    QPainter painter(&view);
    picture.paint(painter, zoom, view.rect());
    return view;
}

TEST(ReducedCopies, FollowRandomPaintsAndMarksOfTheStageCanvas)
{
    test::StageFixture fixture(24);
    std::mt19937 random(99);
    for (int column = 0; column < 24; ++column) {
        for (int row = 0; row < 16; ++row)
            fixture.setTile(column, row, uint16_t(random() & 0xC07F));
    }
    // The second sprite's mark lies on the cell grid.
    fixture.setSprites({{1, 100, 64, 0x1234}, {2, 64, 0, 0x00AB}});
    fixture.setCameras({{300, 200}});
    QtCanvas canvas;
    canvas.resize(24 * 32, 16 * 32);
    ZoomedPicture picture(canvas);
    const StageScene scene = fixture.scene(canvas);
    RedrawStage(scene);
    picture.reducedCopies();

    for (int paint = 0; paint < 120; ++paint) {
        const int column = int(random() % 24);
        const int row = int(random() % 16);
        const RomPatch patch = TileCellPatch(fixture.stage, column, row, uint16_t(random() & 0xC07F));
        patch.applyTo(fixture.rom);
        DrawChangedCells(scene, patch);
        if (paint % 40 == 39)
            DrawMarks(scene);
    }
    expectReductionsOf(canvas.bitmap(), picture.reducedCopies());

    // Paused while no zoom below 1 shows them, then made again from what the cells hold.
    picture.pauseReducedCopies();
    for (int paint = 0; paint < 30; ++paint) {
        const RomPatch patch = TileCellPatch(fixture.stage, int(random() % 24), int(random() % 16),
                                             uint16_t(random() & 0xC07F));
        patch.applyTo(fixture.rom);
        DrawChangedCells(scene, patch);
    }
    DrawMarks(scene);
    expectReductionsOf(canvas.bitmap(), picture.reducedCopies());

    // Painting at 1/4 shows the copy reduced by 4, beyond it the background.
    const QImage quarter = painted(picture, MapZoom::FromSetting("1/4"), QSize(300, 200));
    const QImage expected = HalvedPicture(HalvedPicture(canvas.bitmap()));
    EXPECT_TRUE(quarter.copy(0, 0, expected.width(), expected.height()) == expected);
    EXPECT_EQ(quarter.pixel(250, 150), qRgb(255, 255, 255));
    // At 3 every image pixel is a square of 3 x 3 view pixels.
    const QImage threefold = painted(picture, MapZoom::FromSetting("3"), QSize(200, 120));
    for (int y = 0; y < threefold.height(); ++y) {
        for (int x = 0; x < threefold.width(); ++x)
            ASSERT_EQ(threefold.pixel(x, y), canvas.bitmap().pixel(x / 3, y / 3)) << x << ", " << y;
    }
}

// A painter into an image, moved and clipped as a window's repaint has it: the view's
// pixels are written inside the clip only, at the painter's offset.
TEST(ReducedCopies, ThePictureIsPaintedIntoTheClipOfAMovedPainter)
{
    test::StageFixture fixture(8);
    std::mt19937 random(5);
    for (int column = 0; column < 8; ++column)
        fixture.setTile(column, 1, uint16_t(random() & 0x407F));
    QtCanvas canvas;
    canvas.resize(8 * 32, 16 * 32);
    ZoomedPicture picture(canvas);
    RedrawStage(fixture.scene(canvas));

    const QRgb untouched = qRgb(1, 2, 3);
    QImage target(200, 100, QImage::Format_RGB32);
    target.fill(untouched);
    QPainter painter(&target);
    painter.translate(-50, -30);
    painter.setClipRegion(QRegion(60, 40, 100, 20) + QRegion(60, 90, 30, 30));
    picture.paint(painter, MapZoom::FromSetting("2"), QRect(50, 30, 200, 100));
    painter.end();
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            const QPoint view(x + 50, y + 30);
            const bool inClip = QRect(60, 40, 100, 20).contains(view) || QRect(60, 90, 30, 30).contains(view);
            ASSERT_EQ(target.pixel(x, y), inClip ? canvas.bitmap().pixel(view.x() / 2, view.y() / 2) : untouched)
                << x << ", " << y;
        }
    }
}

TEST(ReducedCopies, ANewBitmapMakesThemAgainAtItsSize)
{
    test::StageFixture fixture(16);
    fixture.setTile(0, 0, 0x0005);
    QtCanvas canvas;
    canvas.resize(16 * 32, 16 * 32);
    ZoomedPicture picture(canvas);
    RedrawStage(fixture.scene(canvas));
    EXPECT_EQ(picture.reducedCopies().copy(1).width, 256);

    // The next stage: a narrower image, drawn into a fresh bitmap.
    fixture.stage.MapWidth = 8;
    fixture.setTile(0, 0, 0x0009);
    canvas.resize(8 * 32, 16 * 32);
    RedrawStage(fixture.scene(canvas));
    EXPECT_EQ(picture.reducedCopies().copy(3).width, 32);
    expectReductionsOf(canvas.bitmap(), picture.reducedCopies());
}

TEST(ReducedCopies, AnUpdateReducesTheSquaresOfEightItTouchesAndNoOthers)
{
    QImage bitmap(64, 32, QImage::Format_RGB32);
    bitmap.fill(qRgb(0, 0, 0));
    ReducedCopies copies;
    copies.rebuild(pixelsOf(bitmap));
    // Two pixels change; only the square of the first is told.
    bitmap.setPixel(15, 9, qRgb(255, 255, 255));
    bitmap.setPixel(40, 20, qRgb(255, 255, 255));
    copies.update(pixelsOf(bitmap), 15, 9, 1, 1);
    EXPECT_EQ(copies.copy(1).at(7, 4), qRgb(64, 64, 64));
    EXPECT_EQ(copies.copy(2).at(3, 2), qRgb(16, 16, 16));
    EXPECT_EQ(copies.copy(3).at(1, 1), qRgb(4, 4, 4));
    EXPECT_EQ(copies.copy(1).at(20, 10), qRgb(0, 0, 0)) << "a square not told of stays";
    // Rounded: 255 / 4 = 63.75 gives 64, 64 / 4 = 16, 16 / 4 = 4.
    copies.update(pixelsOf(bitmap), 0, 0, 64, 32);
    expectReductionsOf(bitmap, copies);
}

TEST(ReducedCopies, TakeTwentyOneSixtyFourthsOfTheBitmap)
{
    QImage bitmap(1024, 512, QImage::Format_RGB32);
    bitmap.fill(qRgb(10, 20, 30));
    ReducedCopies copies;
    copies.rebuild(pixelsOf(bitmap));
    const size_t bitmapBytes = size_t(bitmap.sizeInBytes());
    EXPECT_EQ(copies.bytes(), bitmapBytes * 21 / 64);
    EXPECT_LT(copies.bytes() * 3, bitmapBytes);
}

} // namespace
} // namespace tamo
