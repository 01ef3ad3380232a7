#pragma once

#include <QImage>

namespace tamo::test {

// The picture at half its size: each pixel the mean of a square of 2 x 2, channel by
// channel, halves rounded up, worked out from the channels one by one.
inline QImage HalvedPicture(const QImage &above)
{
    QImage half(above.width() / 2, above.height() / 2, QImage::Format_RGB32);
    for (int y = 0; y < half.height(); ++y) {
        for (int x = 0; x < half.width(); ++x) {
            const QRgb square[] = {above.pixel(2 * x, 2 * y), above.pixel(2 * x + 1, 2 * y),
                                   above.pixel(2 * x, 2 * y + 1), above.pixel(2 * x + 1, 2 * y + 1)};
            int red = 0, green = 0, blue = 0;
            for (QRgb pixel : square) {
                red += qRed(pixel);
                green += qGreen(pixel);
                blue += qBlue(pixel);
            }
            half.setPixel(x, y, qRgb((red + 2) / 4, (green + 2) / 4, (blue + 2) / 4));
        }
    }
    return half;
}

} // namespace tamo::test
