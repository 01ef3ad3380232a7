#include "forms/UnitMain.h"

#include "forms/UnitLevelSelect.h"
#include "forms/UnitLevelSetting.h"
#include "forms/action_definition.h"
#include "forms/chip_use_highlight.h"
#include "forms/client_area.h"
#include "forms/emulator_dialog.h"
#include "forms/error_report.h"
#include "forms/map_tool_switch.h"
#include "forms/map_viewport.h"
#include "forms/message_box.h"
#include "forms/move_objects_tool.h"
#include "forms/paint_tiles_tool.h"
#include "forms/patch_file_session.h"
#include "forms/replace_chip_dialog.h"
#include "forms/rom_file_session.h"
#include "forms/screen_size.h"
#include "forms/stage_image.h"
#include "forms/tool_window.h"

#include "files/file_names.h"

#include "session/emulator_launcher.h"
#include "view/map_view_settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

TFormMain *FormMain = nullptr;

namespace {

constexpr int toolBarHeight = 29;
constexpr int cellPanelWidth = 80;
constexpr int penPanelWidth = 50;
constexpr int zoomPanelWidth = 50;
// How long a message of the map tools stays in the status bar: long enough to be read; the
// panels come back after it.
constexpr int messageShownMs = 8000;

// Only stages of screen mode 0 are drawn and edited; the others show an empty image,
// and the note says why.
QString screenModeNote(int32_t screenMode)
{
    if (screenMode == 0)
        return {};
    return QStringLiteral("Stages of screen mode %1 are not drawn or edited.").arg(screenMode);
}

// One action of the main window's action list, with the member that holds it and its
// execute handler; none for the map's edit actions, which go to the map tool in use.
struct MainAction
{
    QAction *TFormMain::*member;
    ActionDefinition definition;
    void (TFormMain::*execute)();
};

} // namespace

TFormMain::TFormMain(const std::filesystem::path &programDir)
    : Session(tamo::ProgramFolder::ofProgramIn(programDir), ReportErrors)
    , Files(new RomFileSession(Session, *this))
    , Patches(new PatchFileSession(Session, *this))
    , m_emulator(new EmulatorLauncher(tamo::TestCopyFolder::defaultParent(), this))
{
    setObjectName(QStringLiteral("FormMain"));
    // Qt shows "*" in place of the mark while the image has unsaved edits.
    setWindowTitle(QStringLiteral("Tamo Editor[*]"));
    createActions();
    createHistoryActions();
    setMapActionKeys();
    createStageView();
    createMapTools();
    createMenu();
    createToolBar();
    createStatusBar();
    readSettings();
    followSession();
}

TFormMain::~TFormMain() = default;

void TFormMain::createActions()
{
    using Icon = ImageListIcon;
    const MainAction actions[] = {
        {&TFormMain::FileOpen1, {"FileOpen1", "Open(&O)...", "Open(&O)...", "Open File", Qt::CTRL | Qt::Key_O, Icon::Open, false, true},
         &TFormMain::FileOpen1Execute},
        {&TFormMain::FileSave, {"FileSave", "Save(&S)", "Save(&S)", "Save file", Qt::CTRL | Qt::Key_S, Icon::Save, false, false},
         &TFormMain::FileSaveExecute},
        {&TFormMain::FileRestorePoints, {"FileRestorePoints", "Restore Points(&R)...", nullptr, nullptr, NoShortcut, std::nullopt, false, false},
         &TFormMain::FileRestorePointsExecute},
        {&TFormMain::FileExit1, {"FileExit1", "Exit(&X)", nullptr, nullptr, NoShortcut, std::nullopt, false, true},
         &TFormMain::FileExit1Execute},
        {&TFormMain::StageLoad, {"StageLoad", "Stage(&L)...", "Load Stage(&L)...", "Load Stage", Qt::CTRL | Qt::Key_L, Icon::LoadStage, false, false},
         &TFormMain::StageLoadExecute},
        {&TFormMain::StageConfig, {"StageConfig", "Config(&C)...", "Stage Config(&C)...", "Stage Config", QKeyCombination(Qt::Key_F12), Icon::StageConfig, false, false},
         &TFormMain::StageConfigExecute},
        {&TFormMain::StageTestInEmulator, {"StageTestInEmulator", "Test in Emulator(&R)", "Test in Emulator", "Test in Emulator", Qt::CTRL | Qt::Key_R, Icon::TestInEmulator, false, false},
         &TFormMain::StageTestInEmulatorExecute},
        {&TFormMain::StageEmulator, {"StageEmulator", "Emulator(&E)...", nullptr, nullptr, NoShortcut, std::nullopt, false, true},
         &TFormMain::StageEmulatorExecute},
        // The flips have no menu entry; their buttons on the chip window show these tips.
        {&TFormMain::MapEditHFlip, {"MapEditHFlip", "Rotate Left", nullptr, "Rotate Left", QKeyCombination(Qt::Key_F1), Icon::HFlip, true, true},
         &TFormMain::MapEditHFlipExecute},
        {&TFormMain::MapEditVFlip, {"MapEditVFlip", "Rotate Down", nullptr, "Rotate Down", QKeyCombination(Qt::Key_F2), Icon::VFlip, true, true},
         &TFormMain::MapEditVFlipExecute},
        {&TFormMain::ViewSpriteMark, {"ViewSpriteMark", "Sprites(&S)", nullptr, nullptr, QKeyCombination(Qt::Key_F3), std::nullopt, true, false},
         &TFormMain::ViewSpriteMarkExecute},
        {&TFormMain::ViewCameraMark, {"ViewCameraMark", "Cameras(&C)", nullptr, nullptr, QKeyCombination(Qt::Key_F4), std::nullopt, true, false},
         &TFormMain::ViewCameraMarkExecute},
        {&TFormMain::ViewStartMark, {"ViewStartMark", "StartPositions(&P)", nullptr, nullptr, QKeyCombination(Qt::Key_F5), std::nullopt, true, false},
         &TFormMain::ViewStartMarkExecute},
        {&TFormMain::FileExportImage, {"FileExportImage", "Export Image(&E)...", nullptr, "Export Image", Qt::CTRL | Qt::Key_E, std::nullopt, false, false},
         &TFormMain::FileExportImageExecute},
        {&TFormMain::FileExportPatch, {"FileExportPatch", "Export Patch(&P)...", nullptr, "Export Patch", NoShortcut, std::nullopt, false, false},
         &TFormMain::FileExportPatchExecute},
        {&TFormMain::FileApplyPatch, {"FileApplyPatch", "Apply Patch(&A)...", nullptr, "Apply Patch", NoShortcut, std::nullopt, false, false},
         &TFormMain::FileApplyPatchExecute},
        {&TFormMain::EditCut, {"EditCut", "Cut(&T)", nullptr, "Cut", Qt::CTRL | Qt::Key_X, std::nullopt, false, false}, nullptr},
        {&TFormMain::EditCopy, {"EditCopy", "Copy(&C)", nullptr, "Copy", Qt::CTRL | Qt::Key_C, std::nullopt, false, false}, nullptr},
        {&TFormMain::EditPaste, {"EditPaste", "Paste(&P)", nullptr, "Paste", Qt::CTRL | Qt::Key_V, std::nullopt, false, false}, nullptr},
        {&TFormMain::EditDelete, {"EditDelete", "Delete(&D)", nullptr, "Delete", QKeyCombination(Qt::Key_Delete), std::nullopt, false, false}, nullptr},
        {&TFormMain::EditFill, {"EditFill", "Fill(&F)", "Fill", "Fill the selection with the pen", QKeyCombination(Qt::Key_F), Icon::Fill, false, false}, nullptr},
        {&TFormMain::EditSelectNone, {"EditSelectNone", "Select None(&N)", nullptr, "Select None", QKeyCombination(Qt::Key_Escape), std::nullopt, false, true}, nullptr},
        {&TFormMain::EditReplaceChip, {"EditReplaceChip", "Replace Chip(&R)...", nullptr, "Replace Chip", NoShortcut, std::nullopt, false, false},
         &TFormMain::EditReplaceChipExecute},
        {&TFormMain::ViewZoomIn, {"ViewZoomIn", "Zoom In(&I)", nullptr, "Zoom In", Qt::CTRL | Qt::Key_Equal, std::nullopt, false, true},
         &TFormMain::ViewZoomInExecute},
        {&TFormMain::ViewZoomOut, {"ViewZoomOut", "Zoom Out(&O)", nullptr, "Zoom Out", Qt::CTRL | Qt::Key_Minus, std::nullopt, false, true},
         &TFormMain::ViewZoomOutExecute},
        {&TFormMain::ViewZoomActual, {"ViewZoomActual", "Actual Size(&A)", nullptr, "Actual Size", Qt::CTRL | Qt::Key_0, std::nullopt, false, true},
         &TFormMain::ViewZoomActualExecute},
        {&TFormMain::ViewGrid, {"ViewGrid", "Grid(&G)", nullptr, "Grid", Qt::CTRL | Qt::Key_G, std::nullopt, true, true},
         &TFormMain::ViewLinesExecute},
        {&TFormMain::ViewScreenLines, {"ViewScreenLines", "Screen Lines(&L)", nullptr, "Screen Lines", Qt::CTRL | Qt::SHIFT | Qt::Key_G, std::nullopt, true, true},
         &TFormMain::ViewLinesExecute},
        {&TFormMain::ViewHighlightChipUses, {"ViewHighlightChipUses", "Highlight Chip Uses(&T)", nullptr, "Highlight Chip Uses", NoShortcut, std::nullopt, true, true},
         &TFormMain::ViewHighlightChipUsesExecute},
    };
    for (const MainAction &main : actions) {
        QAction *action = CreateAction(main.definition, this);
        if (main.execute)
            connect(action, &QAction::triggered, this,
                    [this, execute = main.execute] { ReportErrors([&] { (this->*execute)(); }); });
        QWidget::addAction(action);
        this->*main.member = action;
    }
}

// Undo and redo come from the history: their texts name the step they take back or make
// again, and they are off when there is none.
void TFormMain::createHistoryActions()
{
    QUndoStack *history = Session.Document->history();
    EditUndo = history->createUndoAction(this, QStringLiteral("Undo"));
    EditUndo->setObjectName(QStringLiteral("EditUndo"));
    EditUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EditUndo->setIcon(ImageList1(ImageListIcon::Undo));
    EditRedo = history->createRedoAction(this, QStringLiteral("Redo"));
    EditRedo->setObjectName(QStringLiteral("EditRedo"));
    EditRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    EditRedo->setIcon(ImageList1(ImageListIcon::Redo));
    for (QAction *action : {EditUndo, EditRedo}) {
        action->setShortcutContext(Qt::ApplicationShortcut);
        QWidget::addAction(action);
    }
}

// The map's keys work while the main window is active only: in a tool window, F, Delete
// and Esc belong to its own controls.
void TFormMain::setMapActionKeys()
{
    ViewZoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)});
    for (QAction *action : {FileExportImage, EditCut, EditCopy, EditPaste, EditDelete, EditFill, EditSelectNone,
                            ViewZoomIn, ViewZoomOut, ViewZoomActual, ViewGrid, ViewScreenLines})
        action->setShortcutContext(Qt::WindowShortcut);
}

void TFormMain::createStageView()
{
    ImageMain = new StageImage(Session.stagePicture(), m_zoomedStage);
    ImageMain->setObjectName(QStringLiteral("ImageMain"));
    ImageMain->setMouseTracking(true);
    ScrollBox1 = createCellScrollBox(ImageMain, this);
    setCentralWidget(ScrollBox1);
    m_mapView = new MapViewport(*ScrollBox1, *ImageMain, m_zoomedStage);
    connect(ImageMain, &StageImage::zoomChanged, this, &TFormMain::showZoom);
    m_chipUses = new ChipUseHighlight(Session, *ImageMain, this);
}

// The tools of the map, the first one in use; the edit actions go to the one in use.
void TFormMain::createMapTools()
{
    m_mapTools = new MapToolSwitch(*ImageMain, *this);
    ToolPaintTiles = m_mapTools->add(new PaintTilesTool(Session, *ImageMain));
    ToolMoveObjects = m_mapTools->add(new MoveObjectsTool(Session, *ImageMain));
    const std::pair<QAction *, MapEdit> edits[] = {{EditCut, MapEdit::Cut},       {EditCopy, MapEdit::Copy},
                                                   {EditPaste, MapEdit::Paste},   {EditDelete, MapEdit::Delete},
                                                   {EditFill, MapEdit::Fill},     {EditSelectNone, MapEdit::SelectNone}};
    for (const auto &[action, edit] : edits)
        m_mapTools->attach(action, edit);
}

void TFormMain::createMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *file = bar->addMenu(QStringLiteral("File(&F)"));
    file->setObjectName(QStringLiteral("File1"));
    file->addActions({FileOpen1, FileSave, FileRestorePoints, FileExportImage, FileExportPatch, FileApplyPatch, FileExit1});

    // Alt+E is taken by the tool button "Sprites(&E)".
    QMenu *edit = bar->addMenu(QStringLiteral("Edit(&T)"));
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->addActions({EditUndo, EditRedo});
    edit->addSeparator();
    edit->addActions({EditCut, EditCopy, EditPaste, EditDelete, EditFill, EditSelectNone});
    edit->addSeparator();
    edit->addAction(EditReplaceChip);

    m_viewMenu = bar->addMenu(QStringLiteral("View(&V)"));
    m_viewMenu->setObjectName(QStringLiteral("View1"));
    m_viewMenu->addActions({ViewSpriteMark, ViewCameraMark, ViewStartMark});
    m_viewMenu->addSeparator();
    m_viewMenu->addActions({ViewZoomIn, ViewZoomOut, ViewZoomActual, ViewGrid, ViewScreenLines});
    m_viewMenu->addAction(ViewHighlightChipUses);
    m_viewMenu->addSeparator();
    m_viewMenu->addActions(m_mapTools->actions());
    // The tool windows' entries follow, as addToolWindow adds them.
    m_viewMenu->addSeparator();

    QMenu *settings = bar->addMenu(QStringLiteral("Settings(&S)"));
    settings->setObjectName(QStringLiteral("Settings1"));
    settings->addActions({StageLoad, StageConfig});
    settings->addSeparator();
    settings->addActions({StageTestInEmulator, StageEmulator});
}

void TFormMain::createToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(toolBarHeight);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    ToolBar1->addActions({FileOpen1, FileSave});
    ToolBar1->addSeparator();
    ToolBar1->addActions({EditUndo, EditRedo, EditFill});
    ToolBar1->addSeparator();
    ToolBar1->addActions(m_mapTools->actions());
    ToolBar1->addSeparator();
    ToolBar1->addActions({StageLoad, StageConfig, StageTestInEmulator});
    // The tool windows' buttons follow, as addToolWindow adds them.
    ToolBar1->addSeparator();
}

void TFormMain::addToolWindow(ToolWindow &window)
{
    QAction *toggle = window.toggleAction();
    m_viewMenu->addAction(toggle);
    if (!toggle->icon().isNull())
        ToolBar1->addAction(toggle);
    // The window's key works from every window of the program, while this one is shown.
    QWidget::addAction(toggle);
    m_toolWindows.push_back(&window);
}

void TFormMain::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    m_cellPanel = new QLabel(bar);
    m_cellPanel->setObjectName(QStringLiteral("StatusBar1Panel0"));
    m_cellPanel->setFixedWidth(cellPanelWidth);
    // The pen panel takes the rest of the bar, as the pen text is longer than 50 pixels.
    m_penPanel = new QLabel(bar);
    m_penPanel->setObjectName(QStringLiteral("StatusBar1Panel1"));
    m_penPanel->setMinimumWidth(penPanelWidth);
    m_zoomPanel = new QLabel(bar);
    m_zoomPanel->setObjectName(QStringLiteral("StatusBar1Panel2"));
    m_zoomPanel->setMinimumWidth(zoomPanelWidth);
    bar->addWidget(m_cellPanel);
    // How many cells use the pen's chip, beside the pen, while they are highlighted.
    m_chipUsesPanel = new QLabel(bar);
    m_chipUsesPanel->setObjectName(QStringLiteral("StatusBar1ChipUses"));
    bar->addWidget(m_penPanel, 1);
    bar->addWidget(m_chipUsesPanel);
    bar->addWidget(m_zoomPanel);
    m_sharedPanel = new QLabel(bar);
    m_sharedPanel->setObjectName(QStringLiteral("StatusBar1Panel3"));
    bar->addWidget(m_sharedPanel);
    connect(m_mapTools, &MapToolSwitch::cellStatus, m_cellPanel, &QLabel::setText);
    connect(m_mapTools, &MapToolSwitch::penStatus, m_penPanel, &QLabel::setText);
    connect(m_chipUses, &ChipUseHighlight::countChanged, m_chipUsesPanel, &QLabel::setText);
    connect(m_mapTools, &MapToolSwitch::message, bar, [bar](const QString &text) { bar->showMessage(text, messageShownMs); });
    showZoom();
}

// What the window shows follows the session and its document.
void TFormMain::followSession()
{
    connect(Session.Document->history(), &QUndoStack::cleanChanged, this,
            [this](bool clean) { setWindowModified(!clean); });
    connect(Session.Journal, &RecoveryJournal::writeFailed, this, &ShowMessage);
    connect(m_emulator, &EmulatorLauncher::failed, this, &ShowMessage);
    connect(&Session, &StageSession::romOpened, this, &TFormMain::enableRomActions);
    connect(&Session, &StageSession::stageLoaded, this, &TFormMain::showStage);
    // No stage is shown until a later load succeeds.
    connect(&Session, &StageSession::stageLoadFailed, ImageMain, &QWidget::hide);
    connect(&Session, &StageSession::penChanged, this, &TFormMain::showPen);
    connect(&Session, &StageSession::markSwitchesChanged, this, &TFormMain::showMarkSwitches);
    connect(&Session, &StageSession::cellsRedrawn, this, [this](const std::vector<tamo::CellPosition> &cells) {
        for (const tamo::CellPosition &cell : cells)
            ImageMain->updateCell(cell.column, cell.row);
    });
    connect(&Session, &StageSession::pictureRedrawn, this, [this] {
        ImageMain->followCanvasSize();
        ImageMain->update();
    });
}

void TFormMain::showStage()
{
    ImageMain->setNote(screenModeNote(Session.Stage.ScreenMode));
    m_sharedPanel->setText(Session.sharedTileMap());
    m_sharedPanel->setToolTip(Session.sharedTileMapInFull());
    ImageMain->show();
}

void TFormMain::showPen()
{
    MapEditHFlip->setChecked(Session.Pen.HFlip);
    MapEditVFlip->setChecked(Session.Pen.VFlip);
    m_penPanel->setText(QString::fromStdString(tamo::PenStatusText(Session.Pen)));
}

void TFormMain::showMarkSwitches()
{
    ViewSpriteMark->setChecked(Session.MarkSwitches.ShowSpriteMarks);
    ViewCameraMark->setChecked(Session.MarkSwitches.ShowCameraMarks);
    ViewStartMark->setChecked(Session.MarkSwitches.ShowStartMark);
}

void TFormMain::showZoom()
{
    m_zoomPanel->setText(QString::fromStdString(ImageMain->zoom().text()));
}

void TFormMain::readSettings()
{
    const tamo::IniFile &ini = Session.ApplicationIni;
    move(ini.readInteger("MainWindow", "Left", 0), ini.readInteger("MainWindow", "Top", 0));
    resizeClientAreaBelowMenu(*this, QSize(ini.readInteger("MainWindow", "ClientWidth", 450),
                                           ini.readInteger("MainWindow", "ClientHeight", 350)));
    resize(sizeWithinScreen(size(), pos()));
    moveOntoScreens(*this);
    if (ini.readBool("MainWindow", "isMaximized", false)) {
        m_normalPlace = QRect(pos(), size());
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    Files->readSettings(ini);
    showMarkSwitches();
    const tamo::MapViewSettings mapView = tamo::ReadMapViewSettings(ini);
    ViewGrid->setChecked(mapView.Grid);
    ViewScreenLines->setChecked(mapView.ScreenLines);
    ImageMain->setLines(mapView.Grid, mapView.ScreenLines);
    ImageMain->setZoom(mapView.Zoom);
    ViewHighlightChipUses->setChecked(mapView.HighlightChipUses);
    m_chipUses->setShown(mapView.HighlightChipUses);
    (mapView.MoveObjects ? ToolMoveObjects : ToolPaintTiles)->setChecked(true);
}

void TFormMain::writeSettings()
{
    tamo::IniFile &ini = Session.ApplicationIni;
    if (isMaximized()) {
        // The normal place stays as the last close in the normal state left it.
        ini.writeBool("MainWindow", "isMaximized", true);
    } else {
        ini.writeInteger("MainWindow", "Left", x());
        ini.writeInteger("MainWindow", "Top", y());
        const QSize area = clientAreaBelowMenu(*this);
        ini.writeInteger("MainWindow", "ClientWidth", area.width());
        ini.writeInteger("MainWindow", "ClientHeight", area.height());
        ini.writeBool("MainWindow", "isMaximized", false);
    }
    Files->writeSettings(ini);
    Session.writeSettings();
    for (const ToolWindow *window : m_toolWindows)
        window->SavePlacement(ini);
    tamo::WriteMapViewSettings(ini, {ImageMain->zoom(), ViewGrid->isChecked(), ViewScreenLines->isChecked(),
                                     ToolMoveObjects->isChecked(), ViewHighlightChipUses->isChecked()});
    Session.saveApplicationIni();
}

void TFormMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shownBefore) {
        m_shownBefore = true;
        // The show event comes before the window is on the screen: the first show's work
        // waits for it, so that a failed open's message stands over the main window.
        QMetaObject::invokeMethod(this, [this] { ReportErrors([this] { FormShow(); }); },
                                  Qt::QueuedConnection);
    }
}

void TFormMain::FormShow()
{
    if (!CommandLineRom.isEmpty())
        Files->OpenRom(CommandLineRom);
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    if (!Files->unsavedEditsMayGo()) {
        event->ignore();
        return;
    }
    // A settings file that cannot be written loses this run's settings; the program
    // still ends.
    ReportErrors([this] { writeSettings(); });
    event->accept();
    // The event loop ends here, whatever tool windows are still shown.
    QCoreApplication::exit(0);
}

void TFormMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // A question box cannot come up in the middle of the activation; it comes after it.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QMetaObject::invokeMethod(
            this, [this] { ReportErrors([this] { Files->offerReload(); }); }, Qt::QueuedConnection);
    // A window made maximized has never had its normal place on the screen; the first
    // restore puts it where the last close in the normal state left it.
    if (event->type() == QEvent::WindowStateChange && m_normalPlace
        && !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) {
        move(m_normalPlace->topLeft());
        resize(m_normalPlace->size());
        m_normalPlace.reset();
    }
}

void TFormMain::enableRomActions()
{
    for (QAction *action : {FileSave, FileRestorePoints, FileExportImage, FileExportPatch, FileApplyPatch, StageLoad,
                            StageConfig, StageTestInEmulator, ViewSpriteMark, ViewCameraMark, ViewStartMark})
        action->setEnabled(true);
    EditReplaceChip->setEnabled(true);
}

void TFormMain::FileOpen1Execute()
{
    Files->chooseAndOpenRom();
}

void TFormMain::FileSaveExecute()
{
    Files->SaveRom();
}

void TFormMain::FileRestorePointsExecute()
{
    Files->chooseRestorePoint();
}

void TFormMain::FileExit1Execute()
{
    close();
}

void TFormMain::FileExportImageExecute()
{
    Files->exportStagePicture();
}

void TFormMain::FileExportPatchExecute()
{
    Patches->exportPatch();
}

void TFormMain::FileApplyPatchExecute()
{
    Patches->applyPatch();
}

void TFormMain::EditReplaceChipExecute()
{
    AskAndReplaceChip(Session, this);
}

void TFormMain::StageLoadExecute()
{
    const int level = FormLevelSelect->Execute();
    if (level == -1)
        return;
    Session.LevelNumber = level;
    Session.LoadStage();
}

void TFormMain::StageConfigExecute()
{
    // A confirmed change reloads the stage as it is made; an OK that changed no byte
    // reloads it all the same.
    const int steps = Session.Document->history()->index();
    if (FormLevelSetting->exec() == 1 && Session.Document->history()->index() == steps)
        Session.LoadStage();
}

// With no command set yet, the emulator is chosen first.
void TFormMain::StageTestInEmulatorExecute()
{
    if (tamo::ReadEmulatorSettings(Session.ApplicationIni).Command.empty() && !ChooseEmulator(Session.ApplicationIni, this))
        return;
    m_emulator->launch(tamo::ReadEmulatorSettings(Session.ApplicationIni), Session.RomImage.bytes(),
                       tamo::filePath(Session.RomFileName), Session.LevelNumber);
}

void TFormMain::StageEmulatorExecute()
{
    ChooseEmulator(Session.ApplicationIni, this);
}

void TFormMain::MapEditHFlipExecute()
{
    Session.flipPen(tamo::Flip::LeftRight);
}

void TFormMain::MapEditVFlipExecute()
{
    Session.flipPen(tamo::Flip::TopBottom);
}

void TFormMain::ViewSpriteMarkExecute()
{
    Session.toggleMarks(&tamo::MarkSwitches::ShowSpriteMarks);
}

void TFormMain::ViewCameraMarkExecute()
{
    Session.toggleMarks(&tamo::MarkSwitches::ShowCameraMarks);
}

void TFormMain::ViewStartMarkExecute()
{
    Session.toggleMarks(&tamo::MarkSwitches::ShowStartMark);
}

void TFormMain::ViewZoomInExecute()
{
    ImageMain->setZoom(ImageMain->zoom().zoomedIn());
}

void TFormMain::ViewZoomOutExecute()
{
    ImageMain->setZoom(ImageMain->zoom().zoomedOut());
}

void TFormMain::ViewZoomActualExecute()
{
    ImageMain->setZoom(tamo::MapZoom());
}

void TFormMain::ViewLinesExecute()
{
    ImageMain->setLines(ViewGrid->isChecked(), ViewScreenLines->isChecked());
}

void TFormMain::ViewHighlightChipUsesExecute()
{
    m_chipUses->setShown(ViewHighlightChipUses->isChecked());
}
