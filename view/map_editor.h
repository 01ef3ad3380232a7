#pragma once

#include "core/stage.h"
#include "view/stage_scene.h"

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
};

// Column and row of a stage image pixel; the divisions truncate toward zero.
CellPosition CellAt(int x, int y);

// The map editing logic of the stage image and the chip palette. It keeps no state of
// its own (the pen and the scene belong to the window), so the window may make one for
// each event.
class MapEditor
{
public:
    MapEditor(const StageScene &scene, Pen &pen, MapEditorHost &host);

    // Mouse events of the stage image, positions in image pixels. Modifier keys play no part.
    void mouseDown(MouseButton button, int x, int y);
    void mouseMove(int x, int y);
    void mouseUp();

    // A click (any button) at palette pixel (x, y) of the chip window.
    void paletteClick(int x, int y);

    // The flip actions.
    void toggleHFlip();
    void toggleVFlip();

    // Paints the pen's tile word into the cell through the host; cells outside the map, or
    // whose word lies outside the ROM image, and screen modes other than 0 change nothing.
    void PutChip(int32_t column, int32_t row);
    // Takes the pen from the cell, under the same conditions.
    void PickChip(int32_t column, int32_t row);
    // The cell panel for a cell inside the map (no cell: it keeps its text), and always
    // the pen panel.
    void ShowPenStatus(std::optional<CellPosition> cell);

private:
    bool editable(int32_t column, int32_t row) const;

    const StageScene &m_scene;
    Pen &m_pen;
    MapEditorHost &m_host;
};

} // namespace tamo
