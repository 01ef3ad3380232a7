#include "view/map_editor.h"

#include "core/rom_image.h"
#include "core/stage.h"
#include "view/canvas.h"
#include "view/map_pen.h"
#include "view/stage_marks.h"
#include "view/tile_word.h"

namespace tamo {

CellPosition CellAt(int x, int y)
{
    return {x / CellPixels, y / CellPixels};
}

MapEditor::MapEditor(const StageScene &scene, Pen &pen, MapTools &tools, MapEditorHost &host)
    : m_scene(scene)
    , m_pen(pen)
    , m_tools(tools)
    , m_host(host)
    , m_tiles(scene, pen, tools, host)
{
}

void MapEditor::mouseDown(MouseButton button, int x, int y, bool shift)
{
    const CellPosition cell = CellAt(x, y);
    if (button == MouseButton::Left) {
        if (m_tools.Floating) {
            m_tiles.placeFloating(cell);
        } else if (shift) {
            m_tiles.beginSelection(cell);
        } else if (m_tools.Selection && !m_pen.Painting) {
            m_tiles.clearSelection();
        } else {
            m_pen.Painting = true;
            m_host.strokeStarted();
            PutChip(cell.column, cell.row);
        }
    } else if (button == MouseButton::Right) {
        PickChip(cell.column, cell.row);
        // In mid-stroke the pick only changes what the stroke paints.
        if (!m_pen.Painting)
            m_tiles.beginCapture(cell);
    }
}

void MapEditor::mouseMove(int x, int y)
{
    const CellPosition cell = CellAt(x, y);
    if (m_pen.Painting)
        PutChip(cell.column, cell.row);
    m_tiles.pointerMoved(cell);
    ShowPenStatus(cell);
}

void MapEditor::mouseUp()
{
    m_pen.Painting = false;
    m_tiles.endDrags();
    DrawMarks(m_scene);
    m_host.imageChanged();
}

void MapEditor::PutChip(int32_t column, int32_t row)
{
    if (m_pen.Stamp) {
        // A stamp reaching into the map from outside still puts its cells inside.
        const RomPatch patch = PutTilesPatch(m_scene.rom, m_scene.stage, *m_pen.Stamp, {column, row});
        if (patch.isEmpty())
            return;
        m_host.paint(patch);
    } else {
        if (!EditableCell(m_scene.rom, m_scene.stage, {column, row}))
            return;
        m_host.paint(TileCellPatch(m_scene.stage, column, row, PenTileWord(m_pen)));
    }
    ShowPenStatus(CellPosition{column, row});
}

void MapEditor::PickChip(int32_t column, int32_t row)
{
    if (!EditableCell(m_scene.rom, m_scene.stage, {column, row}))
        return;
    const uint16_t word = m_scene.rom.readWord(TileCellOffset(m_scene.stage, column, row),
                                               "tile map cell");
    m_pen.HFlip = word & HFlipBit;
    m_pen.VFlip = word & VFlipBit;
    m_pen.CurrentChip = word & ChipNumberMask;
    m_pen.Stamp.reset();
    m_host.penChanged();
    ShowPenStatus(CellPosition{column, row});
}

void MapEditor::ShowPenStatus(std::optional<CellPosition> cell)
{
    if (const std::optional<std::string> text = CellStatusText(m_scene.stage, cell))
        m_host.showCellStatus(*text);
    m_host.showPenStatus(PenStatusText(m_pen));
}

} // namespace tamo
