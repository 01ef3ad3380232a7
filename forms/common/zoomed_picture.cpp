#include "forms/common/zoomed_picture.h"

#include "forms/common/qt_canvas.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

namespace tamo {

namespace {

PixelView pixelsOf(const QImage &bitmap)
{
    return {reinterpret_cast<const uint32_t *>(bitmap.constBits()), bitmap.width(), bitmap.height(),
            bitmap.bytesPerLine() / qsizetype(sizeof(uint32_t))};
}

// A reduced copy as an image, without copying its pixels.
QImage imageOf(const ReducedCopies::Copy &copy)
{
    return QImage(reinterpret_cast<const uchar *>(copy.pixels.data()), copy.width, copy.height,
                  qsizetype(copy.width) * qsizetype(sizeof(uint32_t)), QImage::Format_RGB32);
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

void ZoomedPicture::paint(QPainter &painter, const MapZoom &zoom, const QRect &area)
{
    const QImage &bitmap = m_canvas.bitmap();
    // One to one from the bitmap or a copy: view pixels are its pixels.
    const auto copyOneToOne = [&](const QImage &picture) {
        const QRect source = area.intersected(picture.rect());
        if (!source.isEmpty())
            painter.drawImage(source.topLeft(), picture, source);
        return picture.rect();
    };
    QRect shown;
    if (bitmap.isNull()) {
        // Nothing drawn yet.
    } else if (zoom.reduction() > 0) {
        shown = copyOneToOne(imageOf(reducedCopies().copy(zoom.reduction())));
    } else if (zoom.numerator() == 1) {
        shown = copyOneToOne(bitmap);
    } else {
        const int scale = zoom.numerator();
        const QRect source = QRect(QPoint(zoom.toImage(area.left()), zoom.toImage(area.top())),
                                   QPoint(zoom.toImage(area.right()), zoom.toImage(area.bottom())))
                                 .intersected(bitmap.rect());
        shown = QRect(0, 0, bitmap.width() * scale, bitmap.height() * scale);
        if (!source.isEmpty())
            painter.drawImage(QRect(source.topLeft() * scale, source.size() * scale), bitmap, source);
    }
    for (const QRect &beyond : QRegion(area).subtracted(QRegion(shown))) {
        const Rgb background = BackgroundColor;
        painter.fillRect(beyond, QColor(background.red, background.green, background.blue));
    }
}

} // namespace tamo
