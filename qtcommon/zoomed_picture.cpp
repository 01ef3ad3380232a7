#include "qtcommon/zoomed_picture.h"

#include "qtcommon/qt_canvas.h"
#include "qtcommon/qt_picture.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace tamo {

namespace {

constexpr QRgb Background = 0xFF000000 | uint32_t(BackgroundColor.red) << 16
                            | uint32_t(BackgroundColor.green) << 8 | BackgroundColor.blue;

PixelView pixelsOf(const QImage &bitmap)
{
    return {reinterpret_cast<const uint32_t *>(bitmap.constBits()), bitmap.width(), bitmap.height(),
            bitmap.bytesPerLine() / qsizetype(sizeof(uint32_t))};
}

MutablePixelView mutablePixelsOf(QImage &image)
{
    return {reinterpret_cast<uint32_t *>(image.bits()), image.width(), image.height(),
            image.bytesPerLine() / qsizetype(sizeof(uint32_t))};
}

// A reduced copy as an image, without copying its pixels.
QImage imageOf(const ReducedCopies::Copy &copy)
{
    return QImage(reinterpret_cast<const uchar *>(copy.pixels.data()), copy.width, copy.height,
                  qsizetype(copy.width) * qsizetype(sizeof(uint32_t)), QImage::Format_RGB32);
}

// The pixels a painter paints into, when it paints one to one into an image of 32-bit
// pixels (a window's backing store, an image): the view's pixels are then written there
// directly, inside the painter's clip, rather than made elsewhere and copied.
struct DevicePixels
{
    QImage *image;
    QPoint offset; // where the painter's (0, 0) lies in the image
    QRegion clip;  // in the image's pixels

    MutablePixelView at(const QRect &rect) const
    {
        const qsizetype stride = image->bytesPerLine() / qsizetype(sizeof(uint32_t));
        // The very pixels the painter paints into: no copy is made of them.
        auto *pixels = reinterpret_cast<uint32_t *>(const_cast<uchar *>(image->constBits()));
        return {pixels + rect.top() * stride + rect.left(), rect.width(), rect.height(), stride};
    }
};

std::optional<DevicePixels> devicePixelsOf(QPainter &painter)
{
    QPaintEngine *engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice()
        || engine->paintDevice()->devType() != QInternal::Image)
        return std::nullopt;
    auto *image = static_cast<QImage *>(engine->paintDevice());
    const QImage::Format format = image->format();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)
        || image->devicePixelRatio() != 1.0)
        return std::nullopt;
    const QTransform transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxTranslate || transform.dx() != std::floor(transform.dx())
        || transform.dy() != std::floor(transform.dy()))
        return std::nullopt;
    const QPoint offset(int(transform.dx()), int(transform.dy()));
    QRegion clip = engine->systemClip().isEmpty() ? QRegion(image->rect()) : engine->systemClip();
    if (painter.hasClipping())
        clip &= painter.clipRegion().translated(offset);
    return DevicePixels{image, offset, clip & image->rect()};
}

// View pixels first to first + count - 1 of a line, each source pixel repeated Scale times.
template<int Scale>
void widen(uint32_t *out, const uint32_t *in, int first, int count)
{
    int x = first;
    for (; count > 0 && x % Scale != 0; ++x, --count)
        *out++ = in[x / Scale];
    const uint32_t *source = in + x / Scale;
    for (; count >= Scale; count -= Scale, out += Scale, ++source)
        std::fill_n(out, Scale, *source);
    if (count > 0)
        std::fill_n(out, count, *source);
}

void widenLine(int scale, uint32_t *out, const uint32_t *in, int first, int count)
{
    switch (scale) {
    case 1: std::memcpy(out, in + first, size_t(count) * sizeof(uint32_t)); break;
    case 2: widen<2>(out, in, first, count); break;
    case 3: widen<3>(out, in, first, count); break;
    default: widen<4>(out, in, first, count); break;
    }
}

// The view's pixels of the area: the picture shown at the zoom's scale, the background
// beyond it, and the lines over both. Above 1 each picture line is widened once into room
// of its own and copied from there into its view rows. Each row takes its lines at once.
void composeView(MutablePixelView target, const QRect &area, const QImage &picture,
                 const MapZoom &zoom, MapLines lines, std::vector<uint32_t> &widened)
{
    const int scale = zoom.numerator();
    const int shownRight = std::clamp(picture.width() * scale - area.left(), 0, area.width());
    const int shownBottom = picture.height() * scale;
    const MapLineRows lineRows(area.left(), area.top(), area.width(), area.height(), zoom,
                               picture.width() * scale, shownBottom, lines);
    widened.resize(size_t(area.width()));
    int widenedLine = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        uint32_t *out = target.line(y - area.top());
        if (y >= shownBottom) {
            std::fill_n(out, area.width(), Background);
            continue;
        }
        if (scale == 1) {
            widenLine(1, out, reinterpret_cast<const uint32_t *>(picture.constScanLine(y)), area.left(), shownRight);
            std::fill_n(out + shownRight, area.width() - shownRight, Background);
        } else {
            if (y / scale != widenedLine) {
                widenedLine = y / scale;
                const auto *in = reinterpret_cast<const uint32_t *>(picture.constScanLine(widenedLine));
                widenLine(scale, widened.data(), in, area.left(), shownRight);
                std::fill(widened.begin() + shownRight, widened.end(), Background);
            }
            std::memcpy(out, widened.data(), size_t(area.width()) * sizeof(uint32_t));
        }
        lineRows.drawInto(out, y);
    }
}

} // namespace

ZoomedPicture::ZoomedPicture(QtCanvas &canvas)
    : m_canvas(canvas)
{
    m_canvas.setObserver(this);
}

ZoomedPicture::~ZoomedPicture()
{
    m_canvas.setObserver(nullptr);
}

void ZoomedPicture::followBitmap()
{
    if (m_cellsOf == m_canvas.bitmapsMade())
        return;
    m_cellsOf = m_canvas.bitmapsMade();
    m_cellColumns = m_canvas.bitmap().width() / CellPixels;
    m_cellRows = m_canvas.bitmap().height() / CellPixels;
    m_cells.assign(size_t(m_cellColumns) * size_t(m_cellRows), CellSource());
    m_sources.clear();
    // The copies of the bitmap before are of no use for this one.
    m_madeFrom = -1;
}

int8_t ZoomedPicture::sourceIndex(const QImage &image)
{
    for (size_t i = 0; i < m_sources.size(); ++i) {
        if (m_sources[i].image.cacheKey() == image.cacheKey())
            return int8_t(i);
    }
    // A chip bitmap and the mark bitmap take turns; more pictures than that make a fresh start.
    constexpr size_t MostSources = 4;
    if (m_sources.size() == MostSources) {
        m_sources.clear();
        std::fill(m_cells.begin(), m_cells.end(), CellSource());
    }
    m_sources.push_back({image, {}});
    return int8_t(m_sources.size() - 1);
}

const ReducedCopies &ZoomedPicture::copiesOf(Source &source)
{
    if (source.copies.sourceWidth() != source.image.width() || source.copies.sourceHeight() != source.image.height())
        source.copies.rebuild(pixelsOf(source.image));
    return source.copies;
}

bool ZoomedPicture::copiesCurrent() const
{
    return m_madeFrom == m_canvas.bitmapsMade() && m_reduced.sourceWidth() == m_canvas.bitmap().width()
           && m_reduced.sourceHeight() == m_canvas.bitmap().height();
}

void ZoomedPicture::cellCopied(const QtPicture &source, PicturePoint corner, QPoint at)
{
    followBitmap();
    const bool onGrid = at.x() % CellPixels == 0 && at.y() % CellPixels == 0
                        && corner.x % ReducedCopies::LargestFactor == 0
                        && corner.y % ReducedCopies::LargestFactor == 0;
    const int column = at.x() / CellPixels;
    const int row = at.y() / CellPixels;
    if (!onGrid || column >= m_cellColumns || row >= m_cellRows) {
        areaDrawn(QRect(at, QSize(CellPixels, CellPixels)));
        return;
    }
    CellSource &cell = m_cells[size_t(row) * size_t(m_cellColumns) + size_t(column)];
    cell = CellSource{sourceIndex(source.image()), corner};
    if (copiesCurrent()) {
        const std::optional<PicturePoint> corners[] = {corner};
        m_reduced.copyCellRow(copiesOf(m_sources[size_t(cell.source)]), corners, at.x(), at.y());
    }
}

void ZoomedPicture::areaDrawn(const QRect &area)
{
    followBitmap();
    const int right = std::min(m_cellColumns - 1, area.right() / CellPixels);
    const int bottom = std::min(m_cellRows - 1, area.bottom() / CellPixels);
    for (int row = std::max(0, area.top() / CellPixels); row <= bottom; ++row) {
        for (int column = std::max(0, area.left() / CellPixels); column <= right; ++column)
            m_cells[size_t(row) * size_t(m_cellColumns) + size_t(column)] = CellSource();
    }
    if (copiesCurrent())
        m_reduced.update(pixelsOf(m_canvas.bitmap()), area.x(), area.y(), area.width(), area.height());
}

const ReducedCopies &ZoomedPicture::reducedCopies()
{
    if (!copiesCurrent())
        makeCopies();
    return m_reduced;
}

void ZoomedPicture::pauseReducedCopies()
{
    m_madeFrom = -1;
}

// Row by row: the cells of each source take its reduced cells; the cells drawn otherwise,
// and the strips beyond the last whole cells, are reduced from the bitmap.
void ZoomedPicture::makeCopies()
{
    followBitmap();
    const QImage &bitmap = m_canvas.bitmap();
    const PixelView pixels = pixelsOf(bitmap);
    m_reduced.resize(bitmap.width(), bitmap.height());
    std::vector<std::optional<PicturePoint>> corners(static_cast<size_t>(m_cellColumns));
    for (int row = 0; row < m_cellRows; ++row) {
        const CellSource *cells = m_cells.data() + size_t(row) * size_t(m_cellColumns);
        for (size_t source = 0; source < m_sources.size(); ++source) {
            bool any = false;
            for (int column = 0; column < m_cellColumns; ++column) {
                const bool fromThis = cells[column].source == int8_t(source);
                corners[size_t(column)] = fromThis ? std::optional(cells[column].corner) : std::nullopt;
                any = any || fromThis;
            }
            if (any)
                m_reduced.copyCellRow(copiesOf(m_sources[source]), corners, 0, row * CellPixels);
        }
        for (int column = 0; column < m_cellColumns; ++column) {
            if (cells[column].source == DrawnOtherwise)
                m_reduced.update(pixels, column * CellPixels, row * CellPixels, CellPixels, CellPixels);
        }
    }
    const int cellsWidth = m_cellColumns * CellPixels;
    const int cellsHeight = m_cellRows * CellPixels;
    m_reduced.update(pixels, cellsWidth, 0, bitmap.width() - cellsWidth, bitmap.height());
    m_reduced.update(pixels, 0, cellsHeight, bitmap.width(), bitmap.height() - cellsHeight);
    m_madeFrom = m_canvas.bitmapsMade();
}

QImage ZoomedPicture::reducedPicture(int reduction)
{
    if (m_canvas.bitmap().isNull())
        return {};
    if (reduction > 0)
        return imageOf(reducedCopies().copy(reduction));
    return m_canvas.bitmap();
}

void ZoomedPicture::paint(QPainter &painter, const MapZoom &zoom, const QRect &area, MapLines lines)
{
    const QImage picture = reducedPicture(zoom.reduction());
    if (const std::optional<DevicePixels> device = devicePixelsOf(painter)) {
        for (const QRect &part : device->clip.translated(-device->offset).intersected(area))
            composeView(device->at(part.translated(device->offset)), part, picture, zoom, lines, m_widened);
        return;
    }
    if (m_view.size() != area.size())
        m_view = QImage(area.size(), QImage::Format_RGB32);
    composeView(mutablePixelsOf(m_view), area, picture, zoom, lines, m_widened);
    painter.drawImage(area.topLeft(), m_view);
}

} // namespace tamo
