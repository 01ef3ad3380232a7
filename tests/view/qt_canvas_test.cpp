#include "qtcommon/qt_canvas.h"
#include "qtcommon/qt_picture.h"
#include "tests/view/view_test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tamo {
namespace {

QRgb background()
{
    return qRgb(BackgroundColor.red, BackgroundColor.green, BackgroundColor.blue);
}

int pixelsOfColor(const QImage &image, QRect area, QRgb color)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == color;
    }
    return count;
}

class QtCanvasTest : public testing::Test
{
protected:
    QtCanvasTest() { canvas.resize(96, 64); }

    std::unique_ptr<QtPicture> chips = test::makeChipPicture(64);
    QtCanvas canvas;
};

TEST_F(QtCanvasTest, FreshBitmapIsMadeByTheFirstDrawing)
{
    EXPECT_TRUE(canvas.bitmap().isNull());
    canvas.fillCell(0, 0);
    EXPECT_EQ(canvas.bitmap().size(), QSize(96, 64));
    EXPECT_EQ(pixelsOfColor(canvas.bitmap(), QRect(0, 0, 96, 64), background()), 96 * 64);
    canvas.clear();
    EXPECT_TRUE(canvas.bitmap().isNull());
    EXPECT_EQ(canvas.picture().size(), QSize(96, 64));
    EXPECT_EQ(canvas.bitmapsMade(), 2);
}

TEST_F(QtCanvasTest, PlainCopyIsOneToOne)
{
    canvas.copyCell(*chips, 32, 32, 64, 0, CopyMode::Plain);
    for (int j = 0; j < 32; ++j) {
        for (int i = 0; i < 32; ++i)
            ASSERT_EQ(canvas.bitmap().pixel(64 + i, j), test::chipPixel(17, i, j));
    }
    EXPECT_EQ(pixelsOfColor(canvas.bitmap(), QRect(0, 0, 64, 64), background()), 64 * 64);
}

TEST_F(QtCanvasTest, InvertedCopyInvertsEveryChannel)
{
    canvas.copyCell(*chips, 0, 0, 0, 0, CopyMode::Inverted);
    for (int j = 0; j < 32; j += 5) {
        for (int i = 0; i < 32; i += 3) {
            const QRgb source = test::chipPixel(0, i, j);
            EXPECT_EQ(canvas.bitmap().pixel(i, j),
                      qRgb(255 - qRed(source), 255 - qGreen(source), 255 - qBlue(source)));
        }
    }
}

TEST_F(QtCanvasTest, CopiesAreClippedAtTheImageEdges)
{
    canvas.copyCell(*chips, 0, 0, -20, -10, CopyMode::Plain);
    canvas.copyCell(*chips, 0, 0, 80, 50, CopyMode::Plain);
    canvas.copyCell(*chips, 0, 0, 500, 500, CopyMode::Plain);
    EXPECT_EQ(canvas.bitmap().pixel(0, 0), test::chipPixel(0, 20, 10));
    EXPECT_EQ(canvas.bitmap().pixel(11, 21), test::chipPixel(0, 31, 31));
    EXPECT_EQ(canvas.bitmap().pixel(12, 21), background());
    EXPECT_EQ(canvas.bitmap().pixel(95, 63), test::chipPixel(0, 15, 13));
}

TEST_F(QtCanvasTest, SourceOutsideThePictureLeavesTheBackground)
{
    canvas.copyCell(*chips, 0, 0, 0, 0, CopyMode::Plain);
    canvas.copyCell(*chips, 2032, 48, 0, 0, CopyMode::Plain); // 16 x 16 of it inside
    EXPECT_EQ(canvas.bitmap().pixel(0, 0), test::chipPixel(0x1F, 15, 15));
    EXPECT_EQ(canvas.bitmap().pixel(15, 15), test::chipPixel(0x1F, 0, 0));
    EXPECT_EQ(canvas.bitmap().pixel(16, 0), background());
    EXPECT_EQ(canvas.bitmap().pixel(0, 16), background());
    canvas.copyCell(*chips, 4000, 4000, 32, 0, CopyMode::Inverted);
    EXPECT_EQ(pixelsOfColor(canvas.bitmap(), QRect(32, 0, 32, 32), background()), 32 * 32);
}

// A row copy gives the picture of one copyCell or fillCell per cell, wherever the row
// lies and whatever its cells name.
TEST_F(QtCanvasTest, RowCopyEqualsCellByCellCopies)
{
    const std::vector<std::optional<PicturePoint>> cells{
        PicturePoint{0, 0},   std::nullopt,          PicturePoint{1600, 32},
        PicturePoint{2040, 0}, PicturePoint{96, 48}, PicturePoint{-8, 0},
        PicturePoint{512, 32}};
    for (const QPoint at : {QPoint(0, 0), QPoint(-40, 0), QPoint(-70, 20), QPoint(8, -12),
                            QPoint(64, 50), QPoint(0, 64), QPoint(200, 0)}) {
        QtCanvas row;
        QtCanvas single;
        for (QtCanvas *canvas : {&row, &single}) {
            canvas->resize(150, 64);
            canvas->copyCell(*chips, 64, 0, 0, 0, CopyMode::Inverted); // something to cover
            canvas->copyCell(*chips, 64, 0, 96, 32, CopyMode::Inverted);
        }
        row.copyCellRow(chips.get(), cells, at.x(), at.y());
        int x = at.x();
        for (const auto &cell : cells) {
            if (cell)
                single.copyCell(*chips, cell->x, cell->y, x, at.y(), CopyMode::Plain);
            else
                single.fillCell(x, at.y());
            x += 32;
        }
        EXPECT_EQ(row.bitmap(), single.bitmap()) << at.x() << "," << at.y();
    }
}

TEST_F(QtCanvasTest, RowCopyWithoutPictureFillsTheBackground)
{
    canvas.copyCell(*chips, 0, 0, 0, 0, CopyMode::Plain);
    const std::vector<std::optional<PicturePoint>> cells(2);
    canvas.copyCellRow(nullptr, cells, 0, 0);
    EXPECT_EQ(pixelsOfColor(canvas.bitmap(), QRect(0, 0, 96, 64), background()), 96 * 64);
}

TEST_F(QtCanvasTest, TextStandsOnAnOpaqueBoxInItsColour)
{
    canvas.copyCell(*chips, 0, 0, 0, 0, CopyMode::Plain);
    canvas.drawText(4, 4, "#0", {8, Rgb{255, 0, 0}, Black});
    const QImage &image = canvas.bitmap();
    // The box begins at the given corner and holds only black and the text's red.
    EXPECT_EQ(image.pixel(4, 4), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(3, 3), test::chipPixel(0, 3, 3));
    int black = 0;
    int red = 0;
    for (int y = 4; y < 14; ++y) {
        for (int x = 4; x < 12; ++x) {
            black += image.pixel(x, y) == qRgb(0, 0, 0);
            red += image.pixel(x, y) == qRgb(255, 0, 0);
        }
    }
    EXPECT_GT(red, 3);
    EXPECT_GT(black, red);
    EXPECT_EQ(black + red, 10 * 8);
}

TEST_F(QtCanvasTest, BitmapLimitFailsAsOutOfResources)
{
    canvas.setBitmapLimit(96 * 64 * 4 - 1);
    EXPECT_THROW(canvas.fillCell(0, 0), OutOfResources);
    EXPECT_THROW(canvas.drawText(0, 0, "x", {}), OutOfResources);
    EXPECT_TRUE(canvas.bitmap().isNull());
    canvas.resize(64, 64);
    EXPECT_NO_THROW(canvas.fillCell(0, 0));
}

TEST_F(QtCanvasTest, EmptyImageNeedsNoBitmap)
{
    canvas.resize(0, 512);
    canvas.setBitmapLimit(0);
    EXPECT_NO_THROW(canvas.copyCell(*chips, 0, 0, 0, 0, CopyMode::Plain));
    EXPECT_EQ(canvas.bitmapsMade(), 0);
}

TEST_F(QtCanvasTest, DrawsOnlyFromQtPictures)
{
    test::FakePicture other(64, 64);
    EXPECT_THROW(canvas.copyCell(other, 0, 0, 0, 0, CopyMode::Plain), std::invalid_argument);
}

TEST(QtPictureLoad, ReadsA24BitBmp)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("chip3.bmp");
    const QImage image = test::makeChipImage(64).convertToFormat(QImage::Format_RGB888);
    ASSERT_TRUE(image.save(file, "BMP"));
    const auto picture = QtPicture::load(file.toStdString());
    EXPECT_EQ(picture->width(), 2048);
    EXPECT_EQ(picture->height(), 64);
    EXPECT_EQ(picture->image().pixel(1600, 40), test::chipPixel(16 + 2, 31 - 0, 31 - 8));
}

TEST(QtPictureLoad, ReadsAPalettedBmp)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("chip5.bmp");
    QImage image(64, 32, QImage::Format_Indexed8);
    image.setColorTable({qRgb(10, 20, 30), qRgb(200, 100, 50)});
    image.fill(0);
    for (int y = 0; y < 32; ++y)
        image.setPixel(40, y, 1);
    ASSERT_TRUE(image.save(file, "BMP"));
    const auto picture = QtPicture::load(file.toStdString());
    QtCanvas canvas;
    canvas.resize(32, 32);
    canvas.copyCell(*picture, 32, 0, 0, 0, CopyMode::Plain);
    EXPECT_EQ(canvas.bitmap().pixel(8, 5), qRgb(200, 100, 50));
    EXPECT_EQ(canvas.bitmap().pixel(9, 5), qRgb(10, 20, 30));
}

TEST(QtPictureLoad, UnreadableFileNamesTheFile)
{
    QTemporaryDir dir;
    const std::string missing = dir.filePath("chip7.bmp").toStdString();
    try {
        QtPicture::load(missing);
        FAIL() << "no error";
    } catch (const std::runtime_error &error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    }
    QFile broken(dir.filePath("broken.bmp"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM this is no bitmap");
    broken.close();
    EXPECT_THROW(QtPicture::load(dir.filePath("broken.bmp").toStdString()), std::runtime_error);
}

} // namespace
} // namespace tamo
