#pragma once

#include "core/ini_file.h"
#include "core/offset_table.h"
#include "core/rom_image.h"
#include "core/stage.h"
#include "document/recovery_journal.h"
#include "document/rom_document.h"
#include "files/program_folder.h"
#include "qtcommon/qt_canvas.h"
#include "session/map_selection.h"
#include "view/map_pen.h"
#include "view/stage_scene.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace tamo {
class Picture;
}

// Runs a handler that Qt calls and reports any error that escapes it, so that none
// unwinds through Qt's own code.
using ErrorReport = std::function<void(const std::function<void()> &handler)>;

// What every window of the editor works on, below the windows: the document (the ROM
// image, its file and its edit history) with its recovery journal, the data files and
// the settings file, the offset table, the stage shown with its decoded fields, its
// picture and the pictures it is drawn from, the mark switches, the pen and the object
// selected on the map. It opens a ROM, loads a stage and follows every change of the
// image; the windows follow its signals and never push a refresh into each other.
class StageSession : public QObject
{
    Q_OBJECT

public:
    // Reads the settings file and the data files of the folder and the mark bitmap; throws
    // when the mark bitmap cannot be read. report runs the handlers of the document's
    // signals.
    StageSession(tamo::ProgramFolder folder, ErrorReport report, QObject *parent = nullptr);
    ~StageSession() override;

    const tamo::ProgramFolder Folder;
    tamo::IniFile ApplicationIni;
    tamo::IniFile OffsetsIni;
    tamo::IniFile SpriteIni;
    // The only writer of the image; everything else reads it through RomImage.
    RomDocument *const Document;
    const tamo::RomImage &RomImage;
    const QString &RomFileName;
    // The object selected on the map, which the sprite and camera editors follow too.
    MapSelection *const Selection;
    // Keeps the unsaved edits in the recovery folder while there are any.
    RecoveryJournal *const Journal;
    bool RomLoaded = false;
    tamo::OffsetTable OffsetTable;
    int32_t LevelNumber = 22;
    tamo::Stage Stage;
    tamo::Pen Pen;
    tamo::MarkSwitches MarkSwitches;
    std::unique_ptr<tamo::Picture> ChipPicture;
    std::unique_ptr<tamo::Picture> MarkPicture;

    // Reads the file whole into a new image with a new history and says romOpened; the
    // stage is loaded by LoadStage. On failure it throws, and the image, its history and
    // the stage stay as they were.
    void openImage(const QString &path);
    // Decodes the stage LevelNumber, loads its chip bitmap, resets the pen and draws the
    // stage picture; says penChanged and stageLoaded. A failure says stageLoadFailed and
    // throws: no stage is shown until a later load succeeds.
    void LoadStage();
    // Loads the stage unless it is the one shown.
    void ShowStageOf(int32_t level);
    // Draws the whole stage picture again: the tiles, then the marks switched on.
    void RedrawStage();
    // Whether the stage LevelNumber is shown: false from the start of a stage load until
    // it has succeeded.
    bool StageShown() const { return m_stageShown; }

    // The stage picture at 1:1, which the map view shows.
    tamo::QtCanvas &stagePicture() { return m_stagePicture; }
    tamo::StageScene stageScene();

    // The other stages that show the tile map of the stage shown ("tile map shared with
    // stages 0, 6, 14, ..."), empty when none does; and the same naming all of them.
    const QString &sharedTileMap() const { return m_sharedTileMap; }
    const QString &sharedTileMapInFull() const { return m_sharedTileMapInFull; }
    // What a step that changes tiles of the stage shown is called, naming the stages that
    // share them.
    QString tileStepText(const QString &text) const;

    // A click (any button) at pixel (x, y) of the chip palette chooses the pen's chip.
    void PaletteClick(int x, int y);
    void flipPen(tamo::Flip flip);
    // The pen was changed where it is kept (a pick from the map): says penChanged.
    void penEdited();
    // The stage picture was drawn into where it is kept (the marks at the end of a
    // stroke): says pictureRedrawn.
    void pictureWasRedrawn();
    // Turns one kind of marks on or off and draws the stage again.
    void toggleMarks(bool tamo::MarkSwitches::*kind);

    // Puts the stage and the mark switches into ApplicationIni, and writes the file.
    void writeSettings();
    void saveApplicationIni();

signals:
    void romOpened();
    void stageLoaded();
    void stageLoadFailed();
    // The pen's chip, flips or stamp changed; also by every stage load, which resets it.
    void penChanged();
    void markSwitchesChanged();
    // A change of the image, once the stage and its picture follow it.
    void changed(const RomChange &change);
    // Cells of the stage picture were drawn again; the marks are drawn again afterwards,
    // and pictureRedrawn says so.
    void cellsRedrawn(const std::vector<tamo::CellPosition> &cells);
    void pictureRedrawn();

private:
    void readSettings();
    void LoadOffsetTable();
    void LoadChipPicture();
    void LoadMarkPicture();
    void DocumentChanged(const RomChange &change);
    void drawChangedCells(const tamo::RomPatch &patch);
    void findSharedTileMap();

    ErrorReport m_report;
    bool m_stageShown = false;
    tamo::QtCanvas m_stagePicture;
    QString m_sharedTileMap;
    QString m_sharedTileMapInFull;
};
