#pragma once

#include "view/map_lines.h"
#include "view/map_zoom.h"
#include "view/reduced_copies.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace tamo {

class QtCanvas;

// The bitmap of a canvas as the stage view shows it at a zoom: at 1 and above every
// bitmap pixel becomes a square of view pixels (nearest, no smoothing); below 1 the view
// shows the reduced copies of the bitmap. The copies are made when a zoom below 1 first
// needs them, and from then on follow every drawing into the canvas, area by area; a new
// bitmap (a stage load) drops them until they are needed again.
class ZoomedPicture
{
public:
    explicit ZoomedPicture(QtCanvas &canvas);
    ~ZoomedPicture();
    ZoomedPicture(const ZoomedPicture &) = delete;
    ZoomedPicture &operator=(const ZoomedPicture &) = delete;

    // Paints the area of the view (in view pixels) at the zoom, with the lines over it;
    // the part beyond the bitmap, or all of it when the canvas has no bitmap yet, in the
    // background colour.
    void paint(QPainter &painter, const MapZoom &zoom, const QRect &area, MapLines lines = {});
    // The copies as they stand, made first when they are out of date.
    const ReducedCopies &reducedCopies();

private:
    void canvasDrawn(const QRect &area);
    // The picture the view shows at the zoom's scale (the bitmap or a reduced copy), or a
    // null image before the first drawing.
    QImage shownPicture(const MapZoom &zoom);

    QtCanvas &m_canvas;
    ReducedCopies m_reduced;
    // The canvas' bitmapsMade() when the copies were made from its bitmap; -1 for none.
    int m_madeFrom = -1;
    // Room for the view's pixels of the area painted last, kept for the next paint, for
    // painters whose pixels cannot be written directly.
    QImage m_view;
};

} // namespace tamo
