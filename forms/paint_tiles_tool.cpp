#include "forms/paint_tiles_tool.h"

#include "forms/stage_image.h"
#include "forms/tile_clipboard.h"
#include "session/stage_session.h"

namespace {

tamo::MouseButton toMouseButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return tamo::MouseButton::Left;
    case Qt::RightButton: return tamo::MouseButton::Right;
    case Qt::MiddleButton: return tamo::MouseButton::Middle;
    default: return tamo::MouseButton::Other;
    }
}

} // namespace

PaintTilesTool::PaintTilesTool(StageSession &session, StageImage &view)
    : m_session(session)
    , m_view(view)
{
    connect(&session, &StageSession::stageLoaded, this, &PaintTilesTool::forgetTools);
    connect(&session, &StageSession::stageLoadFailed, this, &PaintTilesTool::forgetTools);
    // The stamp's outline under the pointer follows the pen, and paste needs a ROM.
    connect(&session, &StageSession::penChanged, this, &PaintTilesTool::toolsChanged);
    connect(&session, &StageSession::romOpened, this, &MapTool::stateChanged);
}

ActionDefinition PaintTilesTool::action() const
{
    return {"ToolPaintTiles", "Paint tiles", "Paint tiles", "Paint tiles", QKeyCombination(Qt::Key_B), ImageListIcon::PaintTiles, true, true};
}

void PaintTilesTool::press(const MapPointer &pointer)
{
    const bool shift = pointer.modifiers & Qt::ShiftModifier;
    editMap([&](tamo::MapEditor &editor) {
        editor.mouseDown(toMouseButton(pointer.button), pointer.x, pointer.y, shift);
    });
}

void PaintTilesTool::move(const MapPointer &pointer)
{
    editMap([&](tamo::MapEditor &editor) { editor.mouseMove(pointer.x, pointer.y); });
}

void PaintTilesTool::release(const MapPointer &)
{
    editMap([](tamo::MapEditor &editor) { editor.mouseUp(); });
}

void PaintTilesTool::deactivate()
{
    forgetTools();
}

void PaintTilesTool::forgetTools()
{
    m_tileTools = {};
    toolsChanged();
}

bool PaintTilesTool::canEdit(MapEdit edit) const
{
    switch (edit) {
    case MapEdit::Paste: return m_session.RomLoaded;
    case MapEdit::SelectNone: return true;
    case MapEdit::Cut:
    case MapEdit::Copy:
    case MapEdit::Delete:
    case MapEdit::Fill: break;
    }
    return m_tileTools.Selection.has_value();
}

void PaintTilesTool::edit(MapEdit edit)
{
    switch (edit) {
    case MapEdit::Cut: return useTileTools([](tamo::TileTools &tiles) { tiles.cut(); });
    case MapEdit::Copy: return useTileTools([](tamo::TileTools &tiles) { tiles.copy(); });
    case MapEdit::Paste: return paste();
    case MapEdit::Delete: return useTileTools([](tamo::TileTools &tiles) { tiles.deleteCells(); });
    case MapEdit::Fill: return useTileTools([](tamo::TileTools &tiles) { tiles.fill(); });
    case MapEdit::SelectNone: return useTileTools([](tamo::TileTools &tiles) { tiles.cancel(); });
    }
}

void PaintTilesTool::paste()
{
    const ClipboardPaste paste = TileBlockToPaste();
    if (!paste.block) {
        emit message(paste.refusal);
        return;
    }
    const QPoint at = m_view.canvasPointInView();
    useTileTools([&](tamo::TileTools &tiles) { tiles.paste(*paste.block, tamo::CellAt(at.x(), at.y())); });
}

void PaintTilesTool::editMap(const std::function<void(tamo::MapEditor &)> &use)
{
    const tamo::StageScene scene = m_session.stageScene();
    tamo::MapEditor editor(scene, m_session.Pen, m_tileTools, *this);
    use(editor);
}

void PaintTilesTool::useTileTools(const std::function<void(tamo::TileTools &)> &use)
{
    if (m_session.StageShown())
        editMap([&](tamo::MapEditor &editor) { use(editor.tiles()); });
}

void PaintTilesTool::showCellStatus(const std::string &text)
{
    emit cellStatus(QString::fromStdString(text));
}

void PaintTilesTool::showPenStatus(const std::string &text)
{
    emit penStatus(QString::fromStdString(text));
}

void PaintTilesTool::penChanged()
{
    m_session.penEdited();
}

void PaintTilesTool::strokeStarted()
{
    m_stroke.begin(m_session.Document->newMergeKey());
}

void PaintTilesTool::paint(const tamo::RomPatch &patch)
{
    RomEdit edit = m_stroke.edit(patch, m_session.LevelNumber, m_session.RomImage);
    edit.text = m_session.tileStepText(edit.text);
    m_session.Document->edit(edit);
}

void PaintTilesTool::imageChanged()
{
    m_session.pictureWasRedrawn();
}

void PaintTilesTool::editTiles(const std::string &text, const tamo::RomPatch &patch)
{
    m_session.Document->edit(RomEdit{m_session.tileStepText(QString::fromStdString(text)), EditScope::TileMap,
                                     m_session.LevelNumber, patch});
}

void PaintTilesTool::copyTiles(const tamo::TileBlock &block)
{
    PutTileBlockOnClipboard(block);
}

void PaintTilesTool::toolsChanged()
{
    m_view.showTools(m_tileTools, m_session.Pen, m_session.ChipPicture.get());
    emit stateChanged();
}
