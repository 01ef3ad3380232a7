#pragma once

#include "core/stage.h"
#include "view/tile_block.h"

#include <optional>

namespace tamo {

class MapEditorHost;
struct Pen;
struct StageScene;

// What the tile tools keep from one event to the next; the window that shows the stage
// owns it.
struct MapTools
{
    std::optional<CellRect> Selection;
    // The cell where Shift and the left button began dragging out the selection.
    std::optional<CellPosition> SelectionAnchor;
    // The cell where the right button began dragging over the cells of a stamp, and the
    // rectangle dragged so far.
    std::optional<CellPosition> CaptureAnchor;
    std::optional<CellRect> Capture;
    // A pasted block following the pointer until a left click places it.
    std::optional<TileBlock> Floating;
    // The cell under the pointer when it last moved over the stage image.
    std::optional<CellPosition> Pointer;
};

// Where the floating block, or else the pen's stamp, would go with its top-left cell
// under the pointer; none for a pen of one cell or before the pointer came over the image.
std::optional<CellRect> StampPlace(const MapTools &tools, const Pen &pen);

// Rectangles of cells: Shift+left drag selects, and the selection is copied, cut, cleared
// or filled; a copied block is pasted as a floating block placed by a left click; a right
// drag over several cells makes them the pen's stamp. Every change of the map is one edit
// through the host, named by what it did. Screen modes other than 0 are read-only: no
// cell can be selected, taken or written there. Like the map editor it keeps no state of
// its own.
class TileTools
{
public:
    TileTools(const StageScene &scene, Pen &pen, MapTools &tools, MapEditorHost &host);

    void beginSelection(CellPosition cell);
    void beginCapture(CellPosition cell);
    // Drags follow the pointer inside the map; the floating block and the stamp's place
    // follow it anywhere.
    void pointerMoved(CellPosition cell);
    // A button was released: a drag ends, and a capture of several cells becomes the pen.
    void endDrags();

    void copy();
    // The cut and deleted cells become chip 0 without flips.
    void cut();
    void deleteCells();
    // Fills the selection with what the pen puts down, a stamp repeated from the corner.
    void fill();
    // The block floats with its top-left cell at the given cell until placed or dropped;
    // of a block larger than the map only its top-left part of the map's size floats.
    void paste(const TileBlock &block, CellPosition at);
    void placeFloating(CellPosition at);
    // Drops the floating block and clears the selection.
    void cancel();
    void clearSelection();

private:
    // A drag over the cells of a rectangle begins at the cell, inside the map.
    void beginDrag(std::optional<CellPosition> &anchor, std::optional<CellRect> &rect, CellPosition cell);
    void changeSelection(const CellRect &rect, const char *verb, const TileBlock &pattern);

    const StageScene &m_scene;
    Pen &m_pen;
    MapTools &m_tools;
    MapEditorHost &m_host;
};

} // namespace tamo
