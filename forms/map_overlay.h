#pragma once

#include "core/stage.h"
#include "view/map_lines.h"
#include "view/map_zoom.h"
#include "view/tile_block.h"

#include <QImage>
#include <QRect>
#include <QRegion>

#include <optional>
#include <vector>

class QPainter;

namespace tamo {
class Picture;
}

// What the stage view shows over the picture of the map, never in the stage bitmap: the
// lines (mixed into the view's pixels with the picture), the selection, the rectangle a
// right drag is taking, and where the pen's stamp or the floating block would go (the
// floating block shown there, see through).
struct MapOverlay
{
    tamo::MapLines lines;
    std::optional<tamo::CellRect> selection;
    std::optional<tamo::CellRect> capture;
    std::optional<tamo::CellRect> stampPlace;
    QImage floatingPicture; // null when only the stamp's outline is shown
    // The selected object's mark, in stage image pixels, and while it is dragged the mark's
    // picture that follows the pointer there.
    std::optional<QRect> objectFrame;
    QImage draggedMark;
};

// The view areas whose look differs between the two overlays; the whole image when the
// lines differ.
QRegion ChangedArea(const MapOverlay &before, const MapOverlay &after, const tamo::MapZoom &zoom,
                    const QRect &image);

// The view pixels of a rectangle of cells.
QRect CellRectInView(const tamo::CellRect &cells, const tamo::MapZoom &zoom);

// Tints the cells that reach into the area (view pixels) over the picture, below the
// outlines: the cells that hold the chip looked for.
void DrawChipUses(QPainter &painter, const std::vector<tamo::CellPosition> &cells, const tamo::MapZoom &zoom,
                  const QRect &area);

// Draws the outlines and the floating block over the picture.
void DrawMapOverlay(QPainter &painter, const MapOverlay &overlay, const tamo::MapZoom &zoom);

// The block's chips side by side at 1:1, as the map would show them.
QImage TileBlockPicture(const tamo::TileBlock &block, const tamo::Picture *chipPicture);
