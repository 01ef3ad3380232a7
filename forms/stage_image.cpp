#include "forms/stage_image.h"

#include "qtcommon/qt_canvas.h"
#include "qtcommon/zoomed_picture.h"
#include "view/map_pen.h"
#include "view/tile_tools.h"

#include <QCursor>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

// The turn of one wheel notch, in eighths of a degree.
constexpr int WheelNotch = 120;

} // namespace

StageImage::StageImage(tamo::QtCanvas &canvas, tamo::ZoomedPicture &picture)
    : CanvasImage(canvas, nullptr)
    , m_picture(picture)
{
}

QScrollArea *StageImage::scrollBox() const
{
    QWidget *viewport = parentWidget();
    return viewport ? qobject_cast<QScrollArea *>(viewport->parentWidget()) : nullptr;
}

void StageImage::setZoom(const tamo::MapZoom &zoom, std::optional<QPoint> anchor)
{
    if (zoom == m_zoom)
        return;
    QScrollArea *box = scrollBox();
    const QPoint at = anchor ? *anchor : box ? box->viewport()->rect().center() : QPoint();
    // The map point at the anchor, in image pixels with their fractions.
    const QPointF mapPoint = QPointF(at - pos()) * m_zoom.denominator() / m_zoom.numerator();
    m_zoom = zoom;
    if (m_zoom.reduction() == 0)
        m_picture.pauseReducedCopies();
    followCanvasSize();
    if (box) {
        QScrollBar *horizontal = box->horizontalScrollBar();
        QScrollBar *vertical = box->verticalScrollBar();
        const QPointF inView = mapPoint * m_zoom.numerator() / m_zoom.denominator();
        for (QScrollBar *bar : {horizontal, vertical})
            bar->setSingleStep(m_zoom.scrollStep());
        horizontal->setValue(qRound(inView.x() - at.x()));
        vertical->setValue(qRound(inView.y() - at.y()));
    }
    update();
    emit zoomChanged();
}

void StageImage::setLines(bool grid, bool screenLines)
{
    MapOverlay overlay = m_overlay;
    overlay.lines = {grid, screenLines};
    setOverlay(overlay);
}

void StageImage::showTools(const tamo::MapTools &tools, const tamo::Pen &pen,
                           const tamo::Picture *chipPicture)
{
    MapOverlay overlay = m_overlay;
    overlay.selection = tools.Selection;
    overlay.capture = tools.Capture;
    overlay.stampPlace = tamo::StampPlace(tools, pen);
    if (!tools.Floating) {
        overlay.floatingPicture = QImage();
        m_floatingBlock = {};
    } else if (overlay.floatingPicture.isNull() || !(*tools.Floating == m_floatingBlock)) {
        m_floatingBlock = *tools.Floating;
        overlay.floatingPicture = TileBlockPicture(m_floatingBlock, chipPicture);
    }
    setOverlay(overlay);
}

void StageImage::showObject(const std::optional<QRect> &frame, const QImage &draggedMark)
{
    MapOverlay overlay = m_overlay;
    overlay.objectFrame = frame;
    overlay.draggedMark = draggedMark;
    setOverlay(overlay);
}

void StageImage::showChipUses(std::vector<tamo::CellPosition> cells)
{
    if (cells == m_chipUses)
        return;
    m_chipUses = std::move(cells);
    // Only the part in view is painted again.
    update();
}

void StageImage::setOverlay(const MapOverlay &overlay)
{
    const QRegion changed = ChangedArea(m_overlay, overlay, m_zoom, rect());
    m_overlay = overlay;
    update(changed);
}

QPoint StageImage::canvasPointInView() const
{
    const QRect view = visibleRegion().boundingRect();
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    return canvasPoint(view.contains(pointer) ? pointer : view.topLeft());
}

void StageImage::scrollTo(const QPoint &canvasPoint)
{
    if (QScrollArea *box = scrollBox())
        box->ensureVisible(m_zoom.toView(canvasPoint.x()), m_zoom.toView(canvasPoint.y()));
}

void StageImage::followCanvasSize()
{
    setFixedSize(m_zoom.toView(canvas().width()), m_zoom.toView(canvas().height()));
}

void StageImage::updateCell(int column, int row)
{
    update(CellRectInView({column, row, 1, 1}, m_zoom));
}

QPoint StageImage::canvasPoint(const QPoint &point) const
{
    return {m_zoom.toImage(point.x()), m_zoom.toImage(point.y())};
}

void StageImage::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    m_picture.paint(painter, m_zoom, area, m_overlay.lines);
    DrawChipUses(painter, m_chipUses, m_zoom, area);
    DrawMapOverlay(painter, m_overlay, m_zoom);
    drawNote(painter);
}

bool StageImage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && wheelZooms(event))
        return true;
    return CanvasImage::eventFilter(watched, event);
}

// A wheel turned with Ctrl held over the viewport, or over the image (which leaves wheel
// events to the viewport), zooms a step a notch.
bool StageImage::wheelZooms(QEvent *event)
{
    auto *wheel = static_cast<QWheelEvent *>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier))
        return false;
    const QPoint anchor = wheel->position().toPoint();
    m_wheelTurn += wheel->angleDelta().y();
    for (; m_wheelTurn >= WheelNotch; m_wheelTurn -= WheelNotch)
        setZoom(m_zoom.zoomedIn(), anchor);
    for (; m_wheelTurn <= -WheelNotch; m_wheelTurn += WheelNotch)
        setZoom(m_zoom.zoomedOut(), anchor);
    return true;
}
