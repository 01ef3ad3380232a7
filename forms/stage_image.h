#pragma once

#include "forms/canvas_image.h"
#include "forms/map_overlay.h"
#include "view/map_zoom.h"
#include "view/tile_block.h"

#include <optional>
#include <vector>

namespace tamo {
class Picture;
class ZoomedPicture;
struct MapTools;
struct Pen;
} // namespace tamo

// The stage view's image control: the stage canvas at a zoom, with the grid, the screen
// lines and the tile tools' outlines drawn over it. Mouse positions reach its signals in
// stage image pixels at every zoom. Ctrl+wheel anywhere over the scroll box zooms, keeping
// the map point under the pointer in place; a scroll step is one cell at every zoom.
class StageImage : public CanvasImage
{
    Q_OBJECT

public:
    StageImage(tamo::QtCanvas &canvas, tamo::ZoomedPicture &picture);

    const tamo::MapZoom &zoom() const { return m_zoom; }
    // Zooms keeping the map point at the anchor (a pixel of the scroll box's viewport) in
    // place, as far as the scroll bars reach; the middle of the view when none is given.
    void setZoom(const tamo::MapZoom &zoom, std::optional<QPoint> anchor = std::nullopt);
    void setLines(bool grid, bool screenLines);
    // Shows the selection, a right drag's rectangle and where the pen's stamp or the
    // floating block would go; the chip bitmap draws the floating block.
    void showTools(const tamo::MapTools &tools, const tamo::Pen &pen, const tamo::Picture *chipPicture);
    // Frames the selected object's mark (stage image pixels), with the mark's picture in it
    // while it is dragged; none for no object.
    void showObject(const std::optional<QRect> &frame, const QImage &draggedMark);
    // Tints the cells (those that hold the chip looked for); none for no cells.
    void showChipUses(std::vector<tamo::CellPosition> cells);
    // The stage image pixel under the pointer when it is over the part of the image in
    // view, else the one at the view's top-left corner.
    QPoint canvasPointInView() const;
    // Scrolls the map so that the stage image pixel is in view.
    void scrollTo(const QPoint &canvasPoint);

    QPoint canvasPoint(const QPoint &point) const override;
    void followCanvasSize() override;
    void updateCell(int column, int row) override;

signals:
    void zoomChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QScrollArea *scrollBox() const;
    void setOverlay(const MapOverlay &overlay);
    bool wheelZooms(QEvent *event);

    tamo::ZoomedPicture &m_picture;
    tamo::MapZoom m_zoom;
    MapOverlay m_overlay;
    // Kept apart from m_overlay, which is copied at every move of the pointer: a long
    // stage may hold tens of thousands of them.
    std::vector<tamo::CellPosition> m_chipUses;
    // The floating block that m_overlay.floatingPicture shows.
    tamo::TileBlock m_floatingBlock;
    // Wheel turns are added up until they make a whole notch.
    int m_wheelTurn = 0;
};
