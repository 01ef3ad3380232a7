#include "qtcommon/overview_picture.h"

#include "qtcommon/zoomed_picture.h"
#include "view/canvas.h"

#include <QPainter>

namespace tamo {

namespace {

const QColor Background(BackgroundColor.red, BackgroundColor.green, BackgroundColor.blue);
// The frame of the part in view: light inside dark, seen on light and dark chips alike.
const QColor FrameOutside(0, 0, 0);
const QColor FrameInside(255, 255, 0);

} // namespace

void OverviewPicture::make(ZoomedPicture &stage, QSize room)
{
    const QImage bitmap = stage.reducedPicture(0);
    if (bitmap.isNull()) {
        clear();
        return;
    }
    m_scale = OverviewScale(bitmap.width(), bitmap.height(), room.width(), room.height());
    if (m_scale.width() == 0) {
        m_image = QImage();
        return;
    }
    const QImage source = stage.reducedPicture(m_scale.reduction());
    const QSize size(m_scale.width(), m_scale.height());
    // A picture of its own: the source's pixels change with the next drawing. Qt's smooth
    // reduction takes the mean of the pixels each new pixel covers.
    m_image = source.size() == size ? source.copy()
                                    : source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                          .convertToFormat(QImage::Format_RGB32);
}

void OverviewPicture::clear()
{
    m_scale = OverviewScale();
    m_image = QImage();
}

QRect OverviewPicture::toOverview(const QRect &stageArea) const
{
    const PixelArea area = m_scale.toOverview({stageArea.left(), stageArea.top(), stageArea.width(), stageArea.height()});
    return {area.left, area.top, area.width, area.height};
}

QPoint OverviewPicture::toStage(const QPoint &overview) const
{
    const PicturePoint point = m_scale.toStage({overview.x(), overview.y()});
    return {point.x, point.y};
}

void OverviewPicture::paint(QPainter &painter, const QRect &area, const QRect &shownStageArea) const
{
    const QRect picture = m_image.rect();
    const QRegion beyond = QRegion(area) - QRegion(picture);
    for (const QRect &part : beyond)
        painter.fillRect(part, Background);
    if (const QRect shown = area & picture; !shown.isEmpty())
        painter.drawImage(shown.topLeft(), m_image, shown);
    if (m_image.isNull() || shownStageArea.isEmpty())
        return;
    const QRect frame = toOverview(shownStageArea);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(FrameOutside);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    if (frame.width() > 2 && frame.height() > 2) {
        painter.setPen(FrameInside);
        painter.drawRect(frame.adjusted(1, 1, -2, -2));
    }
}

} // namespace tamo
