#pragma once

#include "core/ini_file.h"
#include "core/offset_table.h"
#include "core/rom_image.h"
#include "core/stage.h"
#include "document/paint_stroke.h"
#include "document/recovery_journal.h"
#include "document/restore_points.h"
#include "document/rom_document.h"
#include "forms/map_selection.h"
#include "forms/object_mover.h"
#include "forms/common/qt_canvas.h"
#include "forms/common/zoomed_picture.h"
#include "view/map_editor.h"
#include "view/map_pen.h"
#include "view/stage_scene.h"
#include "view/tile_tools.h"

#include <QMainWindow>
#include <QRect>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class ImageExportDialog;
class QAction;
class QFileDialog;
class QLabel;
class QScrollArea;
class QToolBar;
class StageImage;

namespace tamo {
class Picture;
}

// The main window: it owns the state every other window works on (the document with the
// ROM image and its history, the offset table, the data files, the current stage and the
// pen), shows the stage map and carries the program's one list of actions.
class TFormMain : public QMainWindow, private tamo::MapEditorHost
{
    Q_OBJECT

public:
    explicit TFormMain(const std::filesystem::path &programDir);
    ~TFormMain() override;

    // Reads the file whole into a new image; on failure the old image and stage stay.
    // Offers the unsaved edits an earlier session left for the file.
    void OpenRom(const QString &path);
    // Keeps the file's bytes as a restore point and writes the image over the file; asks
    // first where another program has written the file or put another in its place.
    // Returns false when the user chose not to write.
    bool SaveRom();
    void LoadStage();
    void RedrawStage();
    // Whether the stage LevelNumber is shown: false from the start of a stage load until it
    // has succeeded.
    bool StageShown() const { return m_stageShown; }

    // A click in the chip window's palette, at palette pixel (x, y).
    void PaletteClick(int x, int y);

    std::filesystem::path ProgramDir;
    tamo::IniFile ApplicationIni;
    tamo::IniFile OffsetsIni;
    tamo::IniFile SpriteIni;
    // The only writer of the image; the windows read it through RomImage.
    RomDocument *const Document = new RomDocument(this);
    const tamo::RomImage &RomImage = Document->image();
    const QString &RomFileName = Document->fileName();
    // The object selected on the map, which the sprite and camera editors follow too.
    MapSelection *const Selection = new MapSelection(this);
    bool RomLoaded = false;
    // Keeps the unsaved edits in Config/recovery while there are any.
    RecoveryJournal *const Journal;
    // How many restore points are kept per ROM file; 0 keeps none.
    int RestorePointsKept = 20;
    tamo::OffsetTable OffsetTable;
    int32_t LevelNumber = 22;
    tamo::Stage Stage;
    tamo::Pen Pen;
    // The selection, the drags under way and the floating block of the tile tools.
    tamo::MapTools Tools;
    tamo::MarkSwitches MarkSwitches;
    std::unique_ptr<tamo::Picture> ChipPicture;
    std::unique_ptr<tamo::Picture> MarkPicture;

    // The ROM named on the command line, opened when the window is first shown.
    QString CommandLineRom;

    QAction *FileOpen1 = nullptr;
    QAction *FileSave = nullptr;
    QAction *FileRestorePoints = nullptr;
    QAction *FileExit1 = nullptr;
    QAction *FileExportImage = nullptr;
    QAction *EditUndo = nullptr;
    QAction *EditRedo = nullptr;
    QAction *EditCut = nullptr;
    QAction *EditCopy = nullptr;
    QAction *EditPaste = nullptr;
    QAction *EditDelete = nullptr;
    QAction *EditFill = nullptr;
    QAction *EditSelectNone = nullptr;
    QAction *StageLoad = nullptr;
    QAction *StageConfig = nullptr;
    QAction *MapEditHFlip = nullptr;
    QAction *MapEditVFlip = nullptr;
    QAction *ViewSpriteMark = nullptr;
    QAction *ViewCameraMark = nullptr;
    QAction *ViewStartMark = nullptr;
    QAction *ViewChipWindow = nullptr;
    QAction *ViewSpriteWindow = nullptr;
    QAction *ViewCameraWindow = nullptr;
    QAction *ViewBananaWindow = nullptr;
    QAction *ViewHistoryWindow = nullptr;
    QAction *ViewZoomIn = nullptr;
    QAction *ViewZoomOut = nullptr;
    QAction *ViewZoomActual = nullptr;
    QAction *ViewGrid = nullptr;
    QAction *ViewScreenLines = nullptr;
    QAction *ToolPaintTiles = nullptr;
    QAction *ToolMoveObjects = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    // A sprite mark tells its line in a tip.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createActions();
    void createHistoryActions();
    void setMapActionKeys();
    void createMenu();
    void createToolBar();
    void createStageView();
    void createStatusBar();
    void createOpenDialog();

    void readSettings();
    void writeSettings();
    void LoadOffsetTable();
    void LoadMarkPicture();

    void FormShow();
    void FileOpen1Execute();
    void FileOpen1Accept(const QString &path);
    void FileSaveExecute();
    void FileRestorePointsExecute();
    void FileExit1Execute();
    void FileExportImageExecute();
    void EditCutExecute();
    void EditCopyExecute();
    void EditPasteExecute();
    void EditDeleteExecute();
    void EditFillExecute();
    void EditSelectNoneExecute();
    void StageLoadExecute();
    void StageConfigExecute();
    void MapEditHFlipExecute();
    void MapEditVFlipExecute();
    void ViewSpriteMarkExecute();
    void ViewCameraMarkExecute();
    void ViewStartMarkExecute();
    void ViewChipWindowExecute();
    void ViewSpriteWindowExecute();
    void ViewCameraWindowExecute();
    void ViewBananaWindowExecute();
    void ViewHistoryWindowExecute();
    void ViewZoomInExecute();
    void ViewZoomOutExecute();
    void ViewZoomActualExecute();
    void ViewLinesExecute();
    void ToolModeExecute();
    bool movingObjects() const;
    // The frame of the selected object, and the dragged mark's picture in it.
    void showSelectedObject();
    void toggleMarkSwitch(bool &mark, QAction *action);
    void enableRomActions();
    // Asks what to do with unsaved edits before they would be lost; false to keep them.
    bool unsavedEditsMayGo();
    RestorePoints restorePoints() const;

    // What the window does when the document changes.
    void DocumentChanged(const RomChange &change);
    void ShowStageOf(int32_t level);

    void ImageMainMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void ImageMainMouseMove(int x, int y, Qt::KeyboardModifiers modifiers);
    void ImageMainMouseUp();

    tamo::StageScene stageScene();
    void editMap(const std::function<void(tamo::MapEditor &)> &edit);
    // A tile tool on the stage shown; nothing while no stage is.
    void useTileTools(const std::function<void(tamo::TileTools &)> &use);
    void showZoom();

    // What the map editor asks of the window.
    void showCellStatus(const std::string &text) override;
    void showPenStatus(const std::string &text) override;
    void penChanged() override;
    void strokeStarted() override;
    void paint(const tamo::RomPatch &patch) override;
    void imageChanged() override;
    void editTiles(const std::string &text, const tamo::RomPatch &patch) override;
    void copyTiles(const tamo::TileBlock &block) override;
    void toolsChanged() override;

    void cellChanged(int32_t column, int32_t row);
    // What a step that changes tiles is called, saying when other stages share them.
    QString tileStepText(const QString &text) const;

    bool m_shownBefore = false;
    bool m_stageShown = false;
    PaintStroke m_stroke;
    ObjectMover m_mover{*Document, *Selection};
    QList<QAction *> m_nudgeActions;
    // The other stages that show the tile map of the stage shown.
    QString m_sharedTileMap;
    // The normal place of a window that starts maximized, for its first restore.
    std::optional<QRect> m_normalPlace;
    tamo::QtCanvas m_stageCanvas;
    // The stage bitmap at the view's zoom; it observes the canvas, so it goes first.
    tamo::ZoomedPicture m_zoomedStage{m_stageCanvas};
    QToolBar *ToolBar1 = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    StageImage *ImageMain = nullptr;
    QLabel *m_cellPanel = nullptr;
    QLabel *m_penPanel = nullptr;
    QLabel *m_zoomPanel = nullptr;
    QLabel *m_sharedPanel = nullptr;
    QFileDialog *OpenDialog1 = nullptr;
    ImageExportDialog *ExportDialog1 = nullptr;
};

extern TFormMain *FormMain;
