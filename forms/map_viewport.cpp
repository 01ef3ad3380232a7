#include "forms/map_viewport.h"

#include "forms/stage_image.h"

#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>

MapViewport::MapViewport(QScrollArea &scrollBox, StageImage &image, tamo::ZoomedPicture &picture)
    : QObject(&scrollBox)
    , m_scrollBox(scrollBox)
    , m_image(image)
    , m_picture(picture)
{
    for (QScrollBar *bar : {scrollBox.horizontalScrollBar(), scrollBox.verticalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, &MapViewport::moved);
        connect(bar, &QScrollBar::rangeChanged, this, &MapViewport::moved);
    }
    connect(&image, &StageImage::zoomChanged, this, &MapViewport::moved);
    // A view that grows beyond the image changes no scroll bar, but shows more of it.
    scrollBox.viewport()->installEventFilter(this);
    image.installEventFilter(this);
}

QRect MapViewport::shownArea() const
{
    if (m_image.isHidden())
        return {};
    const QRect inView = QRect(-m_image.pos(), m_scrollBox.viewport()->size()) & m_image.rect();
    if (inView.isEmpty())
        return {};
    const tamo::MapZoom &zoom = m_image.zoom();
    const QPoint topLeft(zoom.toImage(inView.left()), zoom.toImage(inView.top()));
    // The last stage pixel of which the view shows a part.
    const QPoint bottomRight(zoom.toImage(inView.right()), zoom.toImage(inView.bottom()));
    return QRect(topLeft, bottomRight);
}

void MapViewport::centreOn(const QPoint &stagePixel)
{
    const tamo::MapZoom &zoom = m_image.zoom();
    const QSize view = m_scrollBox.viewport()->size();
    m_scrollBox.horizontalScrollBar()->setValue(zoom.toView(stagePixel.x()) - view.width() / 2);
    m_scrollBox.verticalScrollBar()->setValue(zoom.toView(stagePixel.y()) - view.height() / 2);
}

bool MapViewport::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Resize || type == QEvent::Show || type == QEvent::Hide)
        emit moved();
    return QObject::eventFilter(watched, event);
}
