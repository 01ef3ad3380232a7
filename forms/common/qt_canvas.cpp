#include "forms/common/qt_canvas.h"

#include "forms/common/qt_picture.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tamo {

namespace {

constexpr QImage::Format BitmapFormat = QImage::Format_RGB32;
constexpr int BytesPerPixel = 4;
constexpr uint32_t InvertRgb = 0x00FFFFFF;
// Labels are sized for the 96-dpi screens the mark layout was made for.
constexpr int DotsPerMeter = 3780;

QRgb toQRgb(Rgb color)
{
    return qRgb(color.red, color.green, color.blue);
}

const QImage &sourceImage(const Picture &source)
{
    const auto *picture = dynamic_cast<const QtPicture *>(&source);
    if (!picture)
        throw std::invalid_argument("QtCanvas draws only from a QtPicture");
    return picture->image();
}

// The part of a w x h rectangle at (x, y) that lies inside [0, width) x [0, height).
QRect clipped(int x, int y, int w, int h, int width, int height)
{
    return QRect(x, y, w, h).intersected(QRect(0, 0, width, height));
}

} // namespace

void QtCanvas::resize(int width, int height)
{
    m_width = std::max(0, width);
    m_height = std::max(0, height);
    clear();
}

void QtCanvas::clear()
{
    m_bitmap = QImage();
}

QImage &QtCanvas::ensureBitmap()
{
    if (!m_bitmap.isNull() || m_width == 0 || m_height == 0)
        return m_bitmap;
    const int64_t bytes = int64_t(m_width) * m_height * BytesPerPixel;
    if (bytes > m_bitmapLimit)
        throw OutOfResources("the stage bitmap of " + std::to_string(m_width) + " x "
                             + std::to_string(m_height) + " pixels is too large");
    QImage bitmap(m_width, m_height, BitmapFormat);
    if (bitmap.isNull())
        throw OutOfResources("the system cannot make a bitmap of " + std::to_string(m_width)
                             + " x " + std::to_string(m_height) + " pixels");
    bitmap.fill(toQRgb(BackgroundColor));
    bitmap.setDotsPerMeterX(DotsPerMeter);
    bitmap.setDotsPerMeterY(DotsPerMeter);
    m_bitmap = std::move(bitmap);
    ++m_bitmapsMade;
    return m_bitmap;
}

const QImage &QtCanvas::picture()
{
    return ensureBitmap();
}

void QtCanvas::fillCell(int x, int y)
{
    QImage &bitmap = ensureBitmap();
    const QRect target = clipped(x, y, CellPixels, CellPixels, m_width, m_height);
    if (target.isEmpty())
        return;
    const QRgb background = toQRgb(BackgroundColor);
    for (int row = target.top(); row <= target.bottom(); ++row) {
        auto *line = reinterpret_cast<QRgb *>(bitmap.scanLine(row));
        std::fill(line + target.left(), line + target.right() + 1, background);
    }
}

void QtCanvas::copyCell(const Picture &source, int sourceX, int sourceY, int x, int y,
                        CopyMode mode)
{
    const QImage &from = sourceImage(source);
    QImage &bitmap = ensureBitmap();
    const QRect target = clipped(x, y, CellPixels, CellPixels, m_width, m_height);
    if (target.isEmpty())
        return;
    // Source pixels outside the picture leave the background in their place.
    const QRect readable = clipped(sourceX, sourceY, CellPixels, CellPixels, from.width(),
                                   from.height())
                               .translated(x - sourceX, y - sourceY)
                               .intersected(target);
    if (readable != target)
        fillCell(x, y);
    if (readable.isEmpty())
        return;
    const int dx = sourceX - x;
    const int dy = sourceY - y;
    const int pixels = readable.width();
    for (int row = readable.top(); row <= readable.bottom(); ++row) {
        const auto *in = reinterpret_cast<const QRgb *>(from.constScanLine(row + dy)) + readable.left() + dx;
        auto *out = reinterpret_cast<QRgb *>(bitmap.scanLine(row)) + readable.left();
        if (mode == CopyMode::Plain) {
            std::memcpy(out, in, size_t(pixels) * BytesPerPixel);
        } else {
            for (int i = 0; i < pixels; ++i)
                out[i] = in[i] ^ InvertRgb;
        }
    }
}

void QtCanvas::drawText(int x, int y, std::string_view text, const TextStyle &style)
{
    QImage &bitmap = ensureBitmap();
    if (bitmap.isNull())
        return;
    QPainter painter(&bitmap);
    QFont font;
    font.setPointSize(style.pointSize);
    // Plain pixels in the label's own colour, as on the screens the labels were made for.
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    const QString line = QString::fromUtf8(text.data(), qsizetype(text.size()));
    const QFontMetrics metrics(font, &bitmap);
    const QRect box(x, y, metrics.horizontalAdvance(line), metrics.height());
    painter.fillRect(box, QColor(toQRgb(style.background)));
    painter.setPen(QColor(toQRgb(style.color)));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
}

} // namespace tamo
