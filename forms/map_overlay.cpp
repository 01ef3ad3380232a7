#include "forms/map_overlay.h"

#include "qtcommon/qt_canvas.h"
#include "view/canvas.h"
#include "view/stage_renderer.h"

#include <QPainter>
#include <QRegion>

namespace {

const QColor SelectionColor(40, 140, 255);
const QColor CaptureColor(255, 210, 0);
const QColor StampColor(40, 220, 90);
const QColor ObjectColor(255, 120, 0);
// Strong enough to find a cell at 1/8, light enough to still tell its chip at 1:1.
const QColor ChipUseTint(255, 0, 200, 110);
constexpr double FloatingOpacity = 0.7;
// Outlines are drawn up to this far outside their rectangles.
constexpr int OutlineReach = 2;

// A rectangle's outline, a light line around a coloured one, and a tint inside.
void drawOutline(QPainter &painter, const QRect &rect, const QColor &color, int tint)
{
    QColor fill = color;
    fill.setAlpha(tint);
    painter.fillRect(rect, fill);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(rect.adjusted(-1, -1, 0, 0));
    painter.setPen(QPen(color, 1));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
}

// A picture that follows the pointer, see-through over the map; nothing for a null one.
void drawFloating(QPainter &painter, const QRect &place, const QImage &picture)
{
    if (picture.isNull())
        return;
    painter.setOpacity(FloatingOpacity);
    painter.drawImage(place, picture);
    painter.setOpacity(1.0);
}

QRegion outlineArea(const std::optional<tamo::CellRect> &cells, const tamo::MapZoom &zoom)
{
    if (!cells)
        return {};
    return QRegion(CellRectInView(*cells, zoom).adjusted(-OutlineReach, -OutlineReach, OutlineReach, OutlineReach));
}

QRect imageRectInView(const QRect &rect, const tamo::MapZoom &zoom)
{
    return QRect(QPoint(zoom.toView(rect.left()), zoom.toView(rect.top())),
                 QPoint(zoom.toView(rect.right() + 1) - 1, zoom.toView(rect.bottom() + 1) - 1));
}

QRegion frameArea(const std::optional<QRect> &frame, const tamo::MapZoom &zoom)
{
    if (!frame)
        return {};
    return QRegion(imageRectInView(*frame, zoom).adjusted(-OutlineReach, -OutlineReach, OutlineReach, OutlineReach));
}

} // namespace

QRect CellRectInView(const tamo::CellRect &cells, const tamo::MapZoom &zoom)
{
    return imageRectInView(QRect(cells.column * tamo::CellPixels, cells.row * tamo::CellPixels,
                                 cells.columns * tamo::CellPixels, cells.rows * tamo::CellPixels),
                           zoom);
}

QRegion ChangedArea(const MapOverlay &before, const MapOverlay &after, const tamo::MapZoom &zoom,
                    const QRect &image)
{
    if (before.lines != after.lines)
        return QRegion(image);
    QRegion changed;
    const auto compare = [&](const std::optional<tamo::CellRect> &old, const std::optional<tamo::CellRect> &now) {
        if (old != now)
            changed += outlineArea(old, zoom) + outlineArea(now, zoom);
    };
    compare(before.selection, after.selection);
    compare(before.capture, after.capture);
    if (before.floatingPicture.cacheKey() != after.floatingPicture.cacheKey())
        changed += outlineArea(before.stampPlace, zoom) + outlineArea(after.stampPlace, zoom);
    else
        compare(before.stampPlace, after.stampPlace);
    if (before.objectFrame != after.objectFrame || before.draggedMark.cacheKey() != after.draggedMark.cacheKey())
        changed += frameArea(before.objectFrame, zoom) + frameArea(after.objectFrame, zoom);
    return changed;
}

void DrawChipUses(QPainter &painter, const std::vector<tamo::CellPosition> &cells, const tamo::MapZoom &zoom,
                  const QRect &area)
{
    for (const tamo::CellPosition &cell : cells) {
        const QRect place = CellRectInView({cell.column, cell.row, 1, 1}, zoom);
        if (place.intersects(area))
            painter.fillRect(place, ChipUseTint);
    }
}

void DrawMapOverlay(QPainter &painter, const MapOverlay &overlay, const tamo::MapZoom &zoom)
{
    if (overlay.selection)
        drawOutline(painter, CellRectInView(*overlay.selection, zoom), SelectionColor, 50);
    if (overlay.capture)
        drawOutline(painter, CellRectInView(*overlay.capture, zoom), CaptureColor, 50);
    if (overlay.stampPlace) {
        const QRect place = CellRectInView(*overlay.stampPlace, zoom);
        drawFloating(painter, place, overlay.floatingPicture);
        drawOutline(painter, place, StampColor, 0);
    }
    if (overlay.objectFrame) {
        const QRect frame = imageRectInView(*overlay.objectFrame, zoom);
        drawFloating(painter, frame, overlay.draggedMark);
        drawOutline(painter, frame, ObjectColor, 0);
        // A second ring outside, so that the frame stands out from the mark's own border.
        painter.setPen(QPen(ObjectColor, 1));
        painter.drawRect(frame.adjusted(-2, -2, 1, 1));
    }
}

QImage TileBlockPicture(const tamo::TileBlock &block, const tamo::Picture *chipPicture)
{
    tamo::QtCanvas canvas;
    canvas.resize(block.columns * tamo::CellPixels, block.rows * tamo::CellPixels);
    tamo::DrawTileBlock(canvas, chipPicture, block);
    return canvas.picture();
}
