#include "qtcommon/qt_canvas.h"

#include "qtcommon/qt_picture.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

const QtPicture &qtPicture(const Picture &source)
{
    const auto *picture = dynamic_cast<const QtPicture *>(&source);
    if (!picture)
        throw std::invalid_argument("QtCanvas draws only from a QtPicture");
    return *picture;
}

// A rectangle by its edges, [left, right) x [top, bottom).
struct Area
{
    int left, top, right, bottom;

    bool isEmpty() const { return left >= right || top >= bottom; }
    bool operator==(const Area &) const = default;
    Area shifted(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    Area within(const Area &other) const
    {
        return {std::max(left, other.left), std::max(top, other.top),
                std::min(right, other.right), std::min(bottom, other.bottom)};
    }
};

constexpr int CellLineBytes = CellPixels * BytesPerPixel;

// One line of a cell into the bitmap. A stage's bitmap is far larger than any cache and a
// redraw writes it before anything reads it again: stores that bypass the cache spare
// reading each of its lines in first, half of the copy's memory traffic. The bitmap's
// lines start 16-byte aligned; any other place is copied plainly.
inline void copyCellLine(uchar *out, const uchar *in)
{
#if defined(__SSE2__)
    if (reinterpret_cast<uintptr_t>(out) % 16 == 0) {
        for (int i = 0; i < CellLineBytes; i += 16)
            _mm_stream_si128(reinterpret_cast<__m128i *>(out + i),
                             _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i)));
        return;
    }
#endif
    std::memcpy(out, in, CellLineBytes);
}

// Streamed stores are seen by every reader once this returns.
inline void finishCellLines()
{
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

// A hint that the bytes at address will be read soon; nothing where the compiler has no
// way to say so. Reading ahead of the source's end is harmless: a hint never faults.
inline void prefetch(const void *address)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
    __builtin_prefetch(static_cast<const char *>(address) + 64);
#else
    (void)address;
#endif
}

Area cellAt(int x, int y)
{
    return {x, y, x + CellPixels, y + CellPixels};
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

void QtCanvas::areaDrawn(int x, int y, int width, int height)
{
    const QRect changed = QRect(x, y, width, height).intersected(QRect(0, 0, m_width, m_height));
    if (m_observer && !changed.isEmpty())
        m_observer->areaDrawn(changed);
}

void QtCanvas::fillCell(int x, int y)
{
    QImage &bitmap = ensureBitmap();
    const Area target = cellAt(x, y).within({0, 0, m_width, m_height});
    if (target.isEmpty())
        return;
    const QRgb background = toQRgb(BackgroundColor);
    for (int row = target.top; row < target.bottom; ++row) {
        auto *line = reinterpret_cast<QRgb *>(bitmap.scanLine(row));
        std::fill(line + target.left, line + target.right, background);
    }
    areaDrawn(x, y, CellPixels, CellPixels);
}

void QtCanvas::copyCell(const Picture &source, int sourceX, int sourceY, int x, int y,
                        CopyMode mode)
{
    const QtPicture &from = qtPicture(source);
    QImage &bitmap = ensureBitmap();
    const Area target = cellAt(x, y).within({0, 0, m_width, m_height});
    if (target.isEmpty())
        return;
    // Source pixels outside the picture leave the background in their place.
    const Area readable = cellAt(sourceX, sourceY)
                              .within({0, 0, from.width(), from.height()})
                              .shifted(x - sourceX, y - sourceY)
                              .within(target);
    if (!(readable == target))
        fillCell(x, y);
    if (readable.isEmpty())
        return;
    const qsizetype inStride = from.bytesPerLine();
    const qsizetype outStride = bitmap.bytesPerLine();
    const uchar *in = from.bits() + (readable.top + sourceY - y) * inStride
                      + (readable.left + sourceX - x) * BytesPerPixel;
    uchar *out = bitmap.bits() + readable.top * outStride + readable.left * BytesPerPixel;
    const int rows = readable.bottom - readable.top;
    const int pixels = readable.right - readable.left;
    if (mode == CopyMode::Plain && pixels == CellPixels) {
        // The common case, a whole cell: lines of a size the compiler knows.
        for (int row = 0; row < rows; ++row, in += inStride, out += outStride)
            std::memcpy(out, in, CellPixels * BytesPerPixel);
        if (m_observer && rows == CellPixels)
            m_observer->cellCopied(from, {sourceX, sourceY}, QPoint(x, y));
        else
            areaDrawn(x, y, CellPixels, CellPixels);
        return;
    }
    for (int row = 0; row < rows; ++row, in += inStride, out += outStride) {
        if (mode == CopyMode::Plain) {
            std::memcpy(out, in, size_t(pixels) * BytesPerPixel);
        } else {
            const auto *inPixels = reinterpret_cast<const QRgb *>(in);
            auto *outPixels = reinterpret_cast<QRgb *>(out);
            for (int i = 0; i < pixels; ++i)
                outPixels[i] = inPixels[i] ^ InvertRgb;
        }
    }
    areaDrawn(x, y, CellPixels, CellPixels);
}

// The cells that lie whole inside the image's width and the picture are copied line by
// line across the row, which writes the bitmap in order; the others, at the row's ends or
// without a source, go cell by cell.
void QtCanvas::copyCellRow(const Picture *source, std::span<const std::optional<PicturePoint>> cells,
                           int x, int y)
{
    QImage &bitmap = ensureBitmap();
    const int top = std::max(0, y);
    const int bottom = std::min(m_height, y + CellPixels);
    if (top >= bottom)
        return;
    const QtPicture *from = source ? &qtPicture(*source) : nullptr;
    m_rowCells.clear();
    int left = x;
    for (const std::optional<PicturePoint> &cell : cells) {
        if (!cell || !from) {
            fillCell(left, y);
        } else if (left >= 0 && left + CellPixels <= m_width && cell->x >= 0 && cell->y >= 0
                   && cell->x + CellPixels <= from->width()
                   && cell->y + CellPixels <= from->height()) {
            m_rowCells.push_back({left, from->bits() + (cell->y + top - y) * from->bytesPerLine()
                                            + cell->x * BytesPerPixel, *cell});
        } else {
            copyCell(*from, cell->x, cell->y, left, y, CopyMode::Plain);
        }
        left += CellPixels;
    }
    if (m_rowCells.empty())
        return;
    const qsizetype inStride = from->bytesPerLine();
    const qsizetype outStride = bitmap.bytesPerLine();
    uchar *out = bitmap.bits() + top * outStride;
    for (int line = 0; line < bottom - top; ++line, out += outStride) {
        for (const RowCell &cell : m_rowCells) {
            // The cells of a row come from all over the source, more places at once than
            // the processor follows by itself: each cell's next line is asked for ahead.
            prefetch(cell.in + (line + 1) * inStride);
            copyCellLine(out + cell.left * BytesPerPixel, cell.in + line * inStride);
        }
    }
    finishCellLines();
    if (!m_observer)
        return;
    for (const RowCell &cell : m_rowCells) {
        if (bottom - top == CellPixels)
            m_observer->cellCopied(*from, cell.corner, QPoint(cell.left, y));
        else
            areaDrawn(cell.left, y, CellPixels, CellPixels);
    }
}

const QFontMetrics &QtCanvas::labelFont(int pointSize)
{
    if (!m_font || m_font->pointSize() != pointSize) {
        QFont font;
        font.setPointSize(pointSize);
        // Plain pixels in the label's own colour, as on the screens the labels were made for.
        font.setStyleStrategy(QFont::NoAntialias);
        m_font = font;
        m_metrics.emplace(font, &m_bitmap);
    }
    return *m_metrics;
}

void QtCanvas::drawText(int x, int y, std::string_view text, const TextStyle &style)
{
    QImage &bitmap = ensureBitmap();
    if (bitmap.isNull())
        return;
    const QFontMetrics &metrics = labelFont(style.pointSize);
    const QString line = QString::fromUtf8(text.data(), qsizetype(text.size()));
    const QRect box(x, y, metrics.horizontalAdvance(line), metrics.height());
    QPainter painter(&bitmap);
    painter.setFont(*m_font);
    painter.fillRect(box, QColor(toQRgb(style.background)));
    painter.setPen(QColor(toQRgb(style.color)));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
    painter.end();
    areaDrawn(box.x(), box.y(), box.width(), box.height());
}

} // namespace tamo
