#include "forms/common/zoomed_picture.h"

#include "forms/common/qt_canvas.h"

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
// beyond it, and the lines over both.
void composeView(MutablePixelView target, const QRect &area, const QImage &picture,
                 const MapZoom &zoom, MapLines lines)
{
    const int scale = zoom.numerator();
    const int shownRight = std::clamp(picture.width() * scale - area.left(), 0, area.width());
    const int shownBottom = picture.height() * scale;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        uint32_t *out = target.line(y - area.top());
        if (y >= shownBottom) {
            std::fill_n(out, area.width(), Background);
        } else if (y > area.top() && (y - 1) / scale == y / scale) {
            // The next view line of the same picture line.
            std::memcpy(out, target.line(y - 1 - area.top()), size_t(area.width()) * sizeof(uint32_t));
        } else {
            const auto *in = reinterpret_cast<const uint32_t *>(picture.constScanLine(y / scale));
            widenLine(scale, out, in, area.left(), shownRight);
            std::fill_n(out + shownRight, area.width() - shownRight, Background);
        }
    }
    DrawMapLines(target, area.left(), area.top(), zoom, picture.width() * scale, shownBottom, lines);
}

} // namespace

ZoomedPicture::ZoomedPicture(QtCanvas &canvas)
    : m_canvas(canvas)
{
    m_canvas.setDrawnObserver([this](const QRect &area) { canvasDrawn(area); });
}

ZoomedPicture::~ZoomedPicture()
{
    m_canvas.setDrawnObserver({});
}

void ZoomedPicture::canvasDrawn(const QRect &area)
{
    if (m_madeFrom < 0)
        return;
    if (m_madeFrom != m_canvas.bitmapsMade()) {
        // A new bitmap: the copies are made again when they are next needed.
        m_reduced.clear();
        m_madeFrom = -1;
        return;
    }
    m_reduced.update(pixelsOf(m_canvas.bitmap()), area.x(), area.y(), area.width(), area.height());
}

const ReducedCopies &ZoomedPicture::reducedCopies()
{
    const QImage &bitmap = m_canvas.bitmap();
    if (m_madeFrom != m_canvas.bitmapsMade() || m_reduced.sourceWidth() != bitmap.width()
        || m_reduced.sourceHeight() != bitmap.height()) {
        m_reduced.rebuild(pixelsOf(bitmap));
        m_madeFrom = m_canvas.bitmapsMade();
    }
    return m_reduced;
}

QImage ZoomedPicture::shownPicture(const MapZoom &zoom)
{
    if (m_canvas.bitmap().isNull())
        return {};
    if (zoom.reduction() > 0)
        return imageOf(reducedCopies().copy(zoom.reduction()));
    return m_canvas.bitmap();
}

void ZoomedPicture::paint(QPainter &painter, const MapZoom &zoom, const QRect &area, MapLines lines)
{
    const QImage picture = shownPicture(zoom);
    if (const std::optional<DevicePixels> device = devicePixelsOf(painter)) {
        for (const QRect &part : device->clip.translated(-device->offset).intersected(area))
            composeView(device->at(part.translated(device->offset)), part, picture, zoom, lines);
        return;
    }
    if (m_view.size() != area.size())
        m_view = QImage(area.size(), QImage::Format_RGB32);
    composeView(mutablePixelsOf(m_view), area, picture, zoom, lines);
    painter.drawImage(area.topLeft(), m_view);
}

} // namespace tamo
