#pragma once

#include "qtcommon/zoomed_picture.h"
#include "session/stage_session.h"

#include <QMainWindow>
#include <QRect>
#include <QString>

#include <filesystem>
#include <optional>
#include <vector>

class ChipUseHighlight;
class MapToolSwitch;
class PatchFileSession;
class EmulatorLauncher;
class MapViewport;
class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QToolBar;
class RomFileSession;
class StageImage;
class ToolWindow;

// The main window: it owns the stage session that every other window works on, shows
// the stage map, and carries the program's menus, tool bar, status bar and the actions
// they share. It wires the actions to the session, the file session and the map tools.
class TFormMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TFormMain(const std::filesystem::path &programDir);
    ~TFormMain() override;

    // Puts the tool window's action into the View menu (and on the tool bar when it has a
    // picture), and keeps the window's placement when the main window closes.
    void addToolWindow(ToolWindow &window);
    // The map view as the tool windows see and move it.
    MapViewport &mapView() const { return *m_mapView; }

    StageSession Session;
    RomFileSession *const Files;
    PatchFileSession *const Patches;

    // The ROM named on the command line, opened when the window is first shown.
    QString CommandLineRom;

    QAction *FileOpen1 = nullptr;
    QAction *FileSave = nullptr;
    QAction *FileRestorePoints = nullptr;
    QAction *FileExit1 = nullptr;
    QAction *FileExportImage = nullptr;
    QAction *FileExportPatch = nullptr;
    QAction *FileApplyPatch = nullptr;
    QAction *EditUndo = nullptr;
    QAction *EditRedo = nullptr;
    QAction *EditCut = nullptr;
    QAction *EditCopy = nullptr;
    QAction *EditPaste = nullptr;
    QAction *EditDelete = nullptr;
    QAction *EditFill = nullptr;
    QAction *EditSelectNone = nullptr;
    QAction *EditReplaceChip = nullptr;
    QAction *StageLoad = nullptr;
    QAction *StageConfig = nullptr;
    QAction *StageTestInEmulator = nullptr;
    QAction *StageEmulator = nullptr;
    QAction *MapEditHFlip = nullptr;
    QAction *MapEditVFlip = nullptr;
    QAction *ViewSpriteMark = nullptr;
    QAction *ViewCameraMark = nullptr;
    QAction *ViewStartMark = nullptr;
    QAction *ViewZoomIn = nullptr;
    QAction *ViewZoomOut = nullptr;
    QAction *ViewZoomActual = nullptr;
    QAction *ViewGrid = nullptr;
    QAction *ViewScreenLines = nullptr;
    QAction *ViewHighlightChipUses = nullptr;
    QAction *ToolPaintTiles = nullptr;
    QAction *ToolMoveObjects = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createActions();
    void createHistoryActions();
    void setMapActionKeys();
    void createStageView();
    void createMapTools();
    void createMenu();
    void createToolBar();
    void createStatusBar();
    void followSession();

    void readSettings();
    void writeSettings();

    void FormShow();
    void FileOpen1Execute();
    void FileSaveExecute();
    void FileRestorePointsExecute();
    void FileExit1Execute();
    void FileExportImageExecute();
    void FileExportPatchExecute();
    void FileApplyPatchExecute();
    void EditReplaceChipExecute();
    void StageLoadExecute();
    void StageConfigExecute();
    void StageTestInEmulatorExecute();
    void StageEmulatorExecute();
    void MapEditHFlipExecute();
    void MapEditVFlipExecute();
    void ViewSpriteMarkExecute();
    void ViewCameraMarkExecute();
    void ViewStartMarkExecute();
    void ViewZoomInExecute();
    void ViewZoomOutExecute();
    void ViewZoomActualExecute();
    void ViewLinesExecute();
    void ViewHighlightChipUsesExecute();
    void enableRomActions();

    // What the window shows of the session's stage and pen.
    void showStage();
    void showPen();
    void showMarkSwitches();
    void showZoom();

    bool m_shownBefore = false;
    // The normal place of a window that starts maximized, for its first restore.
    std::optional<QRect> m_normalPlace;
    // The stage picture at the view's zoom; it observes the session's picture.
    tamo::ZoomedPicture m_zoomedStage{Session.stagePicture()};
    std::vector<ToolWindow *> m_toolWindows;
    MapToolSwitch *m_mapTools = nullptr;
    // Starts the emulator on copies of the image; they go when the window does.
    EmulatorLauncher *m_emulator = nullptr;
    ChipUseHighlight *m_chipUses = nullptr;
    MapViewport *m_mapView = nullptr;
    QMenu *m_viewMenu = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    StageImage *ImageMain = nullptr;
    QLabel *m_cellPanel = nullptr;
    QLabel *m_penPanel = nullptr;
    QLabel *m_zoomPanel = nullptr;
    QLabel *m_chipUsesPanel = nullptr;
    QLabel *m_sharedPanel = nullptr;
};

extern TFormMain *FormMain;
