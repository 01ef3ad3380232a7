#include "view/map_editor.h"

#include "core/rom_image.h"
#include "core/stage.h"
#include "view/canvas.h"
#include "view/chip_palette.h"
#include "view/map_pen.h"
#include "view/stage_marks.h"
#include "view/stage_renderer.h"
#include "view/tile_word.h"

namespace tamo {

CellPosition CellAt(int x, int y)
{
    return {x / CellPixels, y / CellPixels};
}

MapEditor::MapEditor(const StageScene &scene, Pen &pen, MapEditorHost &host)
    : m_scene(scene)
    , m_pen(pen)
    , m_host(host)
{
}

void MapEditor::mouseDown(MouseButton button, int x, int y)
{
    const CellPosition cell = CellAt(x, y);
    if (button == MouseButton::Left) {
        m_pen.Painting = true;
        m_host.strokeStarted();
        PutChip(cell.column, cell.row);
    } else if (button == MouseButton::Right) {
        PickChip(cell.column, cell.row);
    }
}

void MapEditor::mouseMove(int x, int y)
{
    const CellPosition cell = CellAt(x, y);
    if (m_pen.Painting)
        PutChip(cell.column, cell.row);
    ShowPenStatus(cell);
}

void MapEditor::mouseUp()
{
    m_pen.Painting = false;
    DrawMarks(m_scene);
    m_host.imageChanged();
}

void MapEditor::paletteClick(int x, int y)
{
    m_pen.CurrentChip = PaletteChipAt(x, y);
    ShowPenStatus(std::nullopt);
    m_host.penChanged();
}

void MapEditor::toggleHFlip()
{
    m_pen.HFlip = !m_pen.HFlip;
    m_host.penChanged();
    ShowPenStatus(std::nullopt);
}

void MapEditor::toggleVFlip()
{
    m_pen.VFlip = !m_pen.VFlip;
    m_host.penChanged();
    ShowPenStatus(std::nullopt);
}

// Negative cells are refused as well: a press made while another button holds the
// pointer captured outside the image gives them.
bool MapEditor::editable(int32_t column, int32_t row) const
{
    const Stage &stage = m_scene.stage;
    return stage.ScreenMode == 0 && column >= 0 && column < stage.MapWidth && row >= 0
           && row < stage.MapHeight
           && m_scene.rom.contains(TileCellOffset(stage, column, row), 2);
}

void MapEditor::PutChip(int32_t column, int32_t row)
{
    if (!editable(column, row))
        return;
    m_host.paint(TileCellPatch(m_scene.stage, column, row, PenTileWord(m_pen)));
    ShowPenStatus(CellPosition{column, row});
}

void MapEditor::PickChip(int32_t column, int32_t row)
{
    if (!editable(column, row))
        return;
    const uint16_t word = m_scene.rom.readWord(TileCellOffset(m_scene.stage, column, row),
                                               "tile map cell");
    m_pen.HFlip = word & HFlipBit;
    m_pen.VFlip = word & VFlipBit;
    m_pen.CurrentChip = word & ChipNumberMask;
    m_host.penChanged();
    ShowPenStatus(CellPosition{column, row});
}

void MapEditor::ShowPenStatus(std::optional<CellPosition> cell)
{
    const Stage &stage = m_scene.stage;
    if (cell && cell->column >= 0 && cell->column < stage.MapWidth && cell->row >= 0
        && cell->row < stage.MapHeight)
        m_host.showCellStatus(CellStatusText(cell->column, cell->row));
    m_host.showPenStatus(PenStatusText(m_pen));
}

} // namespace tamo
