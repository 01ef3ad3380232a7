#include "qtcommon/png_encoder.h"

#include <QImage>

#include <gtest/gtest.h>

namespace tamo {
namespace {

// The picture as Qt reads the PNG back, and the colour type the PNG's header gives
// (3 a palette, 2 RGB).
struct ReadBack
{
    QImage image;
    int colorType = -1;
};

ReadBack readBack(const QImage &picture)
{
    const std::vector<uint8_t> png = EncodePng(picture);
    ReadBack back;
    back.image = QImage::fromData(png.data(), int(png.size()), "PNG").convertToFormat(QImage::Format_RGB32);
    if (png.size() > 25)
        back.colorType = png[25];
    return back;
}

// colors different colours (up to as many as it has pixels), one a pixel along the lines,
// going on from one line to the next.
QImage picture(int colors, int width = 37, int height = 23)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int color = (x + width * y) % colors;
            image.setPixel(x, y, qRgb(color * 7 % 256, color / 2, 255 - color % 200));
        }
    }
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(2835);
    return image;
}

TEST(EncodePng, UpTo256ColoursGoWithAPaletteMoreAsRgbAndEveryPixelReadsBack)
{
    for (const int colors : {1, 2, 255, 256, 257, 600}) {
        const QImage original = picture(colors);
        const ReadBack back = readBack(original);
        EXPECT_EQ(back.colorType, colors <= 256 ? 3 : 2) << colors << " colours";
        EXPECT_EQ(back.image, original) << colors << " colours";
        EXPECT_EQ(back.image.dotsPerMeterX(), 3780);
        EXPECT_EQ(back.image.dotsPerMeterY(), 2835);
    }
}

TEST(EncodePng, LinesLongerThanDeflateLooksBackReadBackWhole)
{
    // The same cells again and again along lines of 22,400 pixels.
    const QImage cell = picture(40, 32, 32);
    QImage row(32 * 700, 64, QImage::Format_RGB32);
    for (int y = 0; y < row.height(); ++y) {
        for (int x = 0; x < row.width(); ++x)
            row.setPixel(x, y, cell.pixel((x + y / 32 * 5) % 32, y % 32));
    }
    const ReadBack back = readBack(row);
    EXPECT_EQ(back.colorType, 3);
    EXPECT_EQ(back.image, row);
}

} // namespace
} // namespace tamo
