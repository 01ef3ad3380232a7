#include "view/tile_tools.h"

#include "core/count_text.h"
#include "view/map_editor.h"
#include "view/map_pen.h"
#include "view/stage_scene.h"

#include <string>

namespace tamo {

namespace {

std::string cellsText(const char *verb, int64_t cells)
{
    return std::string(verb) + " " + CountText(cells, "cell");
}

// The cells a patch of tile words writes, two bytes each.
int64_t cellCount(const RomPatch &patch)
{
    int64_t bytes = 0;
    for (const RomWrite &write : patch.writes())
        bytes += int64_t(write.bytes.size());
    return bytes / 2;
}

std::string pasteText(const TileBlock &block)
{
    if (block.isSingleCell())
        return "Paste 1 cell";
    return "Paste " + std::to_string(block.columns) + " x " + std::to_string(block.rows) + " cells";
}

} // namespace

std::optional<CellRect> StampPlace(const MapTools &tools, const Pen &pen)
{
    if (!tools.Pointer)
        return std::nullopt;
    const TileBlock *block = tools.Floating ? &*tools.Floating : pen.Stamp ? &*pen.Stamp : nullptr;
    if (!block)
        return std::nullopt;
    return CellRect{tools.Pointer->column, tools.Pointer->row, block->columns, block->rows};
}

TileTools::TileTools(const StageScene &scene, Pen &pen, MapTools &tools, MapEditorHost &host)
    : m_scene(scene)
    , m_pen(pen)
    , m_tools(tools)
    , m_host(host)
{
}

void TileTools::beginSelection(CellPosition cell)
{
    beginDrag(m_tools.SelectionAnchor, m_tools.Selection, cell);
}

void TileTools::beginCapture(CellPosition cell)
{
    beginDrag(m_tools.CaptureAnchor, m_tools.Capture, cell);
}

void TileTools::beginDrag(std::optional<CellPosition> &anchor, std::optional<CellRect> &rect, CellPosition cell)
{
    if (!EditableCell(m_scene.rom, m_scene.stage, cell))
        return;
    anchor = cell;
    rect = CellRect::Spanning(cell, cell);
    m_host.toolsChanged();
}

void TileTools::pointerMoved(CellPosition cell)
{
    const std::optional<CellRect> selectionBefore = m_tools.Selection;
    const std::optional<CellRect> captureBefore = m_tools.Capture;
    const std::optional<CellRect> placeBefore = StampPlace(m_tools, m_pen);
    m_tools.Pointer = cell;
    const CellPosition inside = ClampedToMap(m_scene.stage, cell);
    if (m_tools.SelectionAnchor)
        m_tools.Selection = CellRect::Spanning(*m_tools.SelectionAnchor, inside);
    if (m_tools.CaptureAnchor)
        m_tools.Capture = CellRect::Spanning(*m_tools.CaptureAnchor, inside);
    if (m_tools.Selection != selectionBefore || m_tools.Capture != captureBefore
        || StampPlace(m_tools, m_pen) != placeBefore)
        m_host.toolsChanged();
}

void TileTools::endDrags()
{
    if (!m_tools.SelectionAnchor && !m_tools.CaptureAnchor)
        return;
    if (m_tools.Capture && m_tools.Capture->cellCount() > 1) {
        // The stamp holds the words as they lie in the map; its flips start afresh.
        m_pen.Stamp = CopyTiles(m_scene.rom, m_scene.stage, *m_tools.Capture);
        m_pen.HFlip = false;
        m_pen.VFlip = false;
        m_host.penChanged();
        m_host.showPenStatus(PenStatusText(m_pen));
    }
    m_tools.SelectionAnchor.reset();
    m_tools.CaptureAnchor.reset();
    m_tools.Capture.reset();
    m_host.toolsChanged();
}

void TileTools::copy()
{
    if (m_tools.Selection)
        m_host.copyTiles(CopyTiles(m_scene.rom, m_scene.stage, *m_tools.Selection));
}

void TileTools::cut()
{
    if (!m_tools.Selection)
        return;
    copy();
    changeSelection(*m_tools.Selection, "Cut", SingleCellBlock(0));
}

void TileTools::deleteCells()
{
    if (m_tools.Selection)
        changeSelection(*m_tools.Selection, "Delete", SingleCellBlock(0));
}

void TileTools::fill()
{
    if (m_tools.Selection)
        changeSelection(*m_tools.Selection, "Fill", PenBlock(m_pen));
}

void TileTools::changeSelection(const CellRect &rect, const char *verb, const TileBlock &pattern)
{
    const RomPatch patch = FillTilesPatch(m_scene.rom, m_scene.stage, rect, pattern);
    if (!patch.isEmpty())
        m_host.editTiles(cellsText(verb, cellCount(patch)), patch);
}

void TileTools::paste(const TileBlock &block, CellPosition at)
{
    if (m_scene.stage.ScreenMode != 0)
        return;
    // The click that places the block is on a cell of the map, so no cell beyond the map's
    // width or height from the block's corner could ever land; nor are they drawn.
    TileBlock fitting = TopLeftPart(block, m_scene.stage.MapWidth, m_scene.stage.MapHeight);
    if (fitting.words.empty())
        return;
    m_tools.Floating = std::move(fitting);
    m_tools.Pointer = at;
    m_host.toolsChanged();
}

void TileTools::placeFloating(CellPosition at)
{
    if (!m_tools.Floating)
        return;
    const TileBlock block = std::move(*m_tools.Floating);
    m_tools.Floating.reset();
    m_host.toolsChanged();
    const RomPatch patch = PutTilesPatch(m_scene.rom, m_scene.stage, block, at);
    if (!patch.isEmpty())
        m_host.editTiles(pasteText(block), patch);
}

void TileTools::cancel()
{
    m_tools.Floating.reset();
    clearSelection();
}

void TileTools::clearSelection()
{
    m_tools.Selection.reset();
    m_tools.SelectionAnchor.reset();
    m_host.toolsChanged();
}

} // namespace tamo
