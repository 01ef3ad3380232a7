#pragma once

#include "qtcommon/qt_canvas.h"
#include "view/map_lines.h"
#include "view/map_zoom.h"
#include "view/reduced_copies.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

class QPainter;

namespace tamo {

// The bitmap of a canvas as the stage view shows it at a zoom: at 1 and above every
// bitmap pixel becomes a square of view pixels (nearest, no smoothing); below 1 the view
// shows the reduced copies of the bitmap. The copies are made when a zoom below 1 first
// needs them, and from then on follow every drawing into the canvas: a cell copied whole
// from a chip takes the chip's reduced cell, any other drawing reduces its area again.
// To make them quickly, it keeps which chip every cell of the bitmap shows: most cells
// then take their reduced chip, and only the others are reduced from the bitmap.
class ZoomedPicture : private CanvasObserver
{
public:
    explicit ZoomedPicture(QtCanvas &canvas);
    ~ZoomedPicture() override;
    ZoomedPicture(const ZoomedPicture &) = delete;
    ZoomedPicture &operator=(const ZoomedPicture &) = delete;

    // Paints the area of the view (in view pixels) at the zoom, with the lines over it;
    // the part beyond the bitmap, or all of it when the canvas has no bitmap yet, in the
    // background colour.
    void paint(QPainter &painter, const MapZoom &zoom, const QRect &area, MapLines lines = {});
    // The copies as they stand, made first when they are out of date.
    const ReducedCopies &reducedCopies();
    // The bitmap (reduction 0) or its copy reduced by 2, 4 or 8 (reduction 1 to 3), made
    // first when out of date, as an image sharing their pixels until the next drawing; a
    // null image before the first drawing.
    QImage reducedPicture(int reduction);
    // While no zoom below 1 shows them, the copies need not follow the drawings; they are
    // made again when next needed, in the memory they have now.
    void pauseReducedCopies();

private:
    // A picture cells were copied from, and its own reduced copies once made.
    struct Source
    {
        QImage image; // shares the picture's pixels
        ReducedCopies copies;
    };
    static constexpr int8_t DrawnOtherwise = -1;
    // What a cell of the bitmap shows: a cell of a source, or something else.
    struct CellSource
    {
        int8_t source = DrawnOtherwise;
        PicturePoint corner;
    };

    void cellCopied(const QtPicture &source, PicturePoint corner, QPoint at) override;
    void areaDrawn(const QRect &area) override;
    // Forgets what the cells showed when the canvas has made a new bitmap since.
    void followBitmap();
    int8_t sourceIndex(const QImage &image);
    const ReducedCopies &copiesOf(Source &source);
    bool copiesCurrent() const;
    void makeCopies();

    QtCanvas &m_canvas;
    ReducedCopies m_reduced;
    // The canvas' bitmapsMade() when the copies were made from its bitmap; -1 for none.
    int m_madeFrom = -1;
    // The whole cells of the bitmap, row after row, and the bitmap they belong to.
    std::vector<CellSource> m_cells;
    int m_cellColumns = 0;
    int m_cellRows = 0;
    int m_cellsOf = -1;
    std::vector<Source> m_sources;
    // Room for the view's pixels of the area painted last, kept for the next paint, for
    // painters whose pixels cannot be written directly; and for one widened picture line.
    QImage m_view;
    std::vector<uint32_t> m_widened;
};

} // namespace tamo
