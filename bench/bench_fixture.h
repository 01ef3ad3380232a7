#pragma once

#include "core/ini_file.h"
#include "core/offset_table.h"
#include "core/rom_image.h"
#include "core/stage.h"
#include "document/paint_stroke.h"
#include "document/rom_document.h"
#include "qtcommon/qt_canvas.h"
#include "qtcommon/qt_picture.h"
#include "view/map_editor.h"
#include "view/stage_scene.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace tamo::bench {

// A made-up 4 MiB ROM with one stage (level 22, tilemap 1) at the default offsets, its
// Data\offsets.ini in memory, and a 2048 x 1024 24-bit chip bitmap written to
// Data\chip1.bmp of a temporary program folder together with a mark bitmap.
class BenchStage
{
public:
    static constexpr int32_t Level = 22;

    // tilemapEnd 0x0E00 gives the 120-cell stage; 0xFFFF the widest the format allows.
    explicit BenchStage(int32_t tilemapEnd, int sprites = 40, int cameras = 12);

    Stage decode() const;
    std::filesystem::path programDir() const;
    StageScene scene(const Stage &stage, Canvas &canvas, MarkSwitches switches = {});

    RomImage rom;
    OffsetTable offsets;
    IniFile offsetsIni;
    std::unique_ptr<Picture> chipPicture;
    std::unique_ptr<Picture> markPicture;

private:
    QTemporaryDir m_dir;
};

// The bench stage opened in a document and drawn; every change of the document draws the
// changed cells again, as the stage view does.
class EditedStage
{
public:
    explicit EditedStage(int32_t tilemapEnd);

    BenchStage bench;
    RomDocument document;
    Stage stage;
    QtCanvas canvas;
    StageScene scene;
};

// The main window's side of the map editor: every write made through the document (a
// paint as part of its stroke, a tile tool's change as a step of its own), the changed
// cells drawn again when the document says they changed; the status texts and the tools'
// outlines go nowhere.
struct DocumentHost : MapEditorHost
{
    explicit DocumentHost(RomDocument &document)
        : document(document)
    {
    }
    void showCellStatus(const std::string &text) override;
    void showPenStatus(const std::string &text) override;
    void penChanged() override {}
    void strokeStarted() override { stroke.begin(document.newMergeKey()); }
    void paint(const RomPatch &patch) override;
    void imageChanged() override {}
    void editTiles(const std::string &text, const RomPatch &patch) override;
    void copyTiles(const TileBlock &) override {}
    void toolsChanged() override {}

    RomDocument &document;
    PaintStroke stroke;
};

// Times one click that paints a round: a new stroke, the write through the document, the
// cell drawn and both status texts. Every put changes its cell (the pen's chip goes round).
void TimePuts(benchmark::State &state, EditedStage &edited);

} // namespace tamo::bench
