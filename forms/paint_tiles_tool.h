#pragma once

#include "document/paint_stroke.h"
#include "forms/map_tool.h"
#include "view/map_editor.h"
#include "view/tile_tools.h"

#include <functional>

class StageImage;
class StageSession;

// "Paint tiles": the left button paints the pen into the map, the right button picks the
// pen from it, and the tile tools select, copy, cut, clear, fill and paste rectangles of
// cells. A stroke from press to release is one step of the history.
class PaintTilesTool : public MapTool, private tamo::MapEditorHost
{
    Q_OBJECT

public:
    PaintTilesTool(StageSession &session, StageImage &view);

    const tamo::MapTools &tileTools() const { return m_tileTools; }

    ActionDefinition action() const override;
    void press(const MapPointer &pointer) override;
    void move(const MapPointer &pointer) override;
    void release(const MapPointer &pointer) override;
    // The tile tools' selection and floating block belong to painting.
    void deactivate() override;
    bool canEdit(MapEdit edit) const override;
    void edit(MapEdit edit) override;

private:
    void editMap(const std::function<void(tamo::MapEditor &)> &use);
    // A tile tool on the stage shown; nothing while no stage is.
    void useTileTools(const std::function<void(tamo::TileTools &)> &use);
    void paste();
    // The tools' cells belong to the stage they were taken in.
    void forgetTools();

    void showCellStatus(const std::string &text) override;
    void showPenStatus(const std::string &text) override;
    void penChanged() override;
    void strokeStarted() override;
    void paint(const tamo::RomPatch &patch) override;
    void imageChanged() override;
    void editTiles(const std::string &text, const tamo::RomPatch &patch) override;
    void copyTiles(const tamo::TileBlock &block) override;
    void toolsChanged() override;

    StageSession &m_session;
    StageImage &m_view;
    // The selection, the drags under way and the floating block of the tile tools.
    tamo::MapTools m_tileTools;
    PaintStroke m_stroke;
};
