#pragma once

#include "core/stage.h"
#include "view/stage_scene.h"
#include "view/tile_tools.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tamo {

class RomPatch;
struct Pen;

enum class MouseButton { Left, Right, Middle, Other };

// What the map editor asks of the window that shows the stage.
class MapEditorHost
{
public:
    virtual ~MapEditorHost() = default;

    virtual void showCellStatus(const std::string &text) = 0; // status bar panel 0
    virtual void showPenStatus(const std::string &text) = 0;  // status bar panel 1
    // The pen's chip or flips changed: draw the chip palette again and set the check marks
    // of the flip actions to the flips.
    virtual void penChanged() = 0;
    // A left press began a paint stroke: the writes up to the release are one edit.
    virtual void strokeStarted() = 0;
    // Writes the pen into the map as part of the stroke under way, and draws the cells
    // that changed.
    virtual void paint(const RomPatch &patch) = 0;
    // The marks were drawn again: the whole stage image may have changed.
    virtual void imageChanged() = 0;
    // A change of the map made by a tile tool, as one step of its own named by text
    // ("Fill 12 cells"); the host draws the cells that changed.
    virtual void editTiles(const std::string &text, const RomPatch &patch) = 0;
    // A block copied from the map, for the clipboard.
    virtual void copyTiles(const TileBlock &block) = 0;
    // The selection, a drag's outline, the floating block or the stamp's place changed.
    virtual void toolsChanged() = 0;
};

// Column and row of a stage image pixel; the divisions truncate toward zero.
CellPosition CellAt(int x, int y);

// The map editing logic of the stage image and the chip palette. It keeps no state of
// its own (the pen, the tools' state and the scene belong to the window), so the window
// may make one for each event.
class MapEditor
{
public:
    MapEditor(const StageScene &scene, Pen &pen, MapTools &tools, MapEditorHost &host);

    // Mouse events of the stage image, positions in image pixels. A left press places a
    // floating block; with Shift it begins a selection; while a selection is shown it
    // clears it; else it paints. A right press picks and begins a stamp's capture.
    void mouseDown(MouseButton button, int x, int y, bool shift = false);
    void mouseMove(int x, int y);
    void mouseUp();

    TileTools &tiles() { return m_tiles; }

    // Paints the pen's tile word, or its stamp with its top-left cell there, into the map
    // through the host; cells outside the map (negative ones too: a press made while another
    // button holds the pointer captured outside the image gives them), or whose word lies
    // outside the ROM image, and screen modes other than 0 change nothing.
    void PutChip(int32_t column, int32_t row);
    // Takes the pen from the cell, under the same conditions; a stamp is dropped.
    void PickChip(int32_t column, int32_t row);
    // The cell panel for a cell inside the map (no cell: it keeps its text), and always
    // the pen panel.
    void ShowPenStatus(std::optional<CellPosition> cell);

private:
    const StageScene &m_scene;
    Pen &m_pen;
    MapTools &m_tools;
    MapEditorHost &m_host;
    TileTools m_tiles;
};

} // namespace tamo
