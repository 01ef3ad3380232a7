#include "forms/UnitMain.h"

#include "forms/UnitBananaEdit.h"
#include "forms/UnitCameraEdit.h"
#include "forms/UnitChip.h"
#include "forms/UnitHistory.h"
#include "forms/UnitLevelSelect.h"
#include "forms/UnitLevelSetting.h"
#include "forms/UnitRestorePoints.h"
#include "forms/UnitSpriteEdit.h"
#include "forms/canvas_image.h"
#include "forms/client_area.h"
#include "forms/common/file_names.h"
#include "forms/common/qt_picture.h"
#include "forms/common/stage_picture_file.h"
#include "forms/error_report.h"
#include "forms/image_export_dialog.h"
#include "forms/image_list.h"
#include "forms/message_box.h"
#include "forms/rom_file_questions.h"
#include "forms/rom_open_dialog.h"
#include "forms/screen_size.h"
#include "forms/stage_image.h"
#include "forms/tile_clipboard.h"

#include "core/file_system.h"
#include "core/map_object.h"
#include "core/stage.h"
#include "view/map_view_settings.h"
#include "view/stage_marks.h"
#include "view/stage_pictures.h"
#include "view/stage_renderer.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QActionGroup>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>
#include <QUndoStack>

#include <optional>

TFormMain *FormMain = nullptr;

namespace {

constexpr int toolBarHeight = 29;
constexpr int cellPanelWidth = 80;
constexpr int penPanelWidth = 50;
constexpr int zoomPanelWidth = 50;

constexpr const char *applicationIniPath = "Config\\application.ini";
constexpr const char *recoveryFolder = "Config\\recovery";
constexpr const char *backupsFolder = "Backups";
// How long after an edit its journal is written, at most.
constexpr int journalDelayMs = 2000;

// Only stages of screen mode 0 are drawn and edited; the others show an empty image,
// and the note says why.
QString screenModeNote(int32_t screenMode)
{
    if (screenMode == 0)
        return {};
    return QStringLiteral("Stages of screen mode %1 are not drawn or edited.").arg(screenMode);
}

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

TFormMain::TFormMain(const std::filesystem::path &programDir)
    : Journal(new RecoveryJournal(*Document, tamo::fs::dataPath(programDir, recoveryFolder), journalDelayMs, this))
{
    setObjectName(QStringLiteral("FormMain"));
    // Qt shows "*" in place of the mark while the image has unsaved edits.
    setWindowTitle(QStringLiteral("Tamo Editor[*]"));
    createActions();
    createHistoryActions();
    setMapActionKeys();
    createMenu();
    createToolBar();
    createStageView();
    createStatusBar();
    createOpenDialog();

    ProgramDir = programDir;
    readSettings();
    LoadOffsetTable();
    LoadMarkPicture();

    connect(Document->history(), &QUndoStack::cleanChanged, this,
            [this](bool clean) { setWindowModified(!clean); });
    connect(Document, &RomDocument::changed, this,
            [this](const RomChange &change) { ReportErrors([&] { DocumentChanged(change); }); });
    connect(Document, &RomDocument::stageNeeded, this,
            [this](int32_t level) { ReportErrors([&] { ShowStageOf(level); }); });
    connect(Journal, &RecoveryJournal::writeFailed, this, &ShowMessage);
}

TFormMain::~TFormMain() = default;

namespace {

// One action of the main window's action list: shared by its menu entry, its tool button
// (which shows the button caption and tip) and its shortcut.
struct ActionDefinition
{
    QAction *TFormMain::*member;
    const char *name;
    const char *caption;
    const char *buttonCaption;
    const char *tip;
    QKeyCombination shortcut;
    std::optional<ImageListIcon> icon;
    bool checkable;
    bool enabledAtStart;
    void (TFormMain::*execute)();
};

constexpr QKeyCombination noShortcut{};

} // namespace

void TFormMain::createActions()
{
    using Icon = ImageListIcon;
    const ActionDefinition definitions[] = {
        {&TFormMain::FileOpen1, "FileOpen1", "Open(&O)...", "Open(&O)...", "Open File",
         Qt::CTRL | Qt::Key_O, Icon::Open, false, true, &TFormMain::FileOpen1Execute},
        {&TFormMain::FileSave, "FileSave", "Save(&S)", "Save(&S)", "Save file",
         Qt::CTRL | Qt::Key_S, Icon::Save, false, false, &TFormMain::FileSaveExecute},
        {&TFormMain::FileRestorePoints, "FileRestorePoints", "Restore Points(&R)...", nullptr, nullptr,
         noShortcut, std::nullopt, false, false, &TFormMain::FileRestorePointsExecute},
        {&TFormMain::FileExit1, "FileExit1", "Exit(&X)", nullptr, nullptr,
         noShortcut, std::nullopt, false, true, &TFormMain::FileExit1Execute},
        {&TFormMain::StageLoad, "StageLoad", "Stage(&L)...", "Load Stage(&L)...", "Load Stage",
         Qt::CTRL | Qt::Key_L, Icon::LoadStage, false, false, &TFormMain::StageLoadExecute},
        {&TFormMain::StageConfig, "StageConfig", "Config(&C)...", "Stage Config(&C)...", "Stage Config",
         QKeyCombination(Qt::Key_F12), Icon::StageConfig, false, false, &TFormMain::StageConfigExecute},
        // The flips have no menu entry; their buttons on the chip window show these tips.
        {&TFormMain::MapEditHFlip, "MapEditHFlip", "Rotate Left", nullptr, "Rotate Left",
         QKeyCombination(Qt::Key_F1), Icon::HFlip, true, true, &TFormMain::MapEditHFlipExecute},
        {&TFormMain::MapEditVFlip, "MapEditVFlip", "Rotate Down", nullptr, "Rotate Down",
         QKeyCombination(Qt::Key_F2), Icon::VFlip, true, true, &TFormMain::MapEditVFlipExecute},
        {&TFormMain::ViewSpriteMark, "ViewSpriteMark", "Sprites(&S)", nullptr, nullptr,
         QKeyCombination(Qt::Key_F3), std::nullopt, true, false, &TFormMain::ViewSpriteMarkExecute},
        {&TFormMain::ViewCameraMark, "ViewCameraMark", "Cameras(&C)", nullptr, nullptr,
         QKeyCombination(Qt::Key_F4), std::nullopt, true, false, &TFormMain::ViewCameraMarkExecute},
        {&TFormMain::ViewStartMark, "ViewStartMark", "StartPositions(&P)", nullptr, nullptr,
         QKeyCombination(Qt::Key_F5), std::nullopt, true, false, &TFormMain::ViewStartMarkExecute},
        {&TFormMain::ViewChipWindow, "ViewChipWindow", "Tilemap(&M)", "Tilemap(&M)", "Tilemap",
         QKeyCombination(Qt::Key_F6), Icon::ChipWindow, true, true, &TFormMain::ViewChipWindowExecute},
        {&TFormMain::ViewSpriteWindow, "ViewSpriteWindow", "SpriteEdit(&E)", "Sprites(&E)", "Sprites",
         QKeyCombination(Qt::Key_F7), Icon::SpriteWindow, true, true, &TFormMain::ViewSpriteWindowExecute},
        {&TFormMain::ViewCameraWindow, "ViewCameraWindow", "CameraEdit(&D)", "Cameras(&D)", "Cameras",
         QKeyCombination(Qt::Key_F8), Icon::CameraWindow, true, true, &TFormMain::ViewCameraWindowExecute},
        {&TFormMain::ViewBananaWindow, "ViewBananaWindow", "BananaEdit(&B)", "Bananas(&B)", "Bananas",
         QKeyCombination(Qt::Key_F9), Icon::BananaWindow, true, true, &TFormMain::ViewBananaWindowExecute},
        {&TFormMain::ViewHistoryWindow, "ViewHistoryWindow", "History(&H)", nullptr, "History",
         Qt::CTRL | Qt::Key_H, std::nullopt, true, true, &TFormMain::ViewHistoryWindowExecute},
        {&TFormMain::FileExportImage, "FileExportImage", "Export Image(&E)...", nullptr, "Export Image",
         Qt::CTRL | Qt::Key_E, std::nullopt, false, false, &TFormMain::FileExportImageExecute},
        {&TFormMain::EditCut, "EditCut", "Cut(&T)", nullptr, "Cut",
         Qt::CTRL | Qt::Key_X, std::nullopt, false, false, &TFormMain::EditCutExecute},
        {&TFormMain::EditCopy, "EditCopy", "Copy(&C)", nullptr, "Copy",
         Qt::CTRL | Qt::Key_C, std::nullopt, false, false, &TFormMain::EditCopyExecute},
        {&TFormMain::EditPaste, "EditPaste", "Paste(&P)", nullptr, "Paste",
         Qt::CTRL | Qt::Key_V, std::nullopt, false, false, &TFormMain::EditPasteExecute},
        {&TFormMain::EditDelete, "EditDelete", "Delete(&D)", nullptr, "Delete",
         QKeyCombination(Qt::Key_Delete), std::nullopt, false, false, &TFormMain::EditDeleteExecute},
        {&TFormMain::EditFill, "EditFill", "Fill(&F)", "Fill", "Fill the selection with the pen",
         QKeyCombination(Qt::Key_F), Icon::Fill, false, false, &TFormMain::EditFillExecute},
        {&TFormMain::EditSelectNone, "EditSelectNone", "Select None(&N)", nullptr, "Select None",
         QKeyCombination(Qt::Key_Escape), std::nullopt, false, true, &TFormMain::EditSelectNoneExecute},
        {&TFormMain::ViewZoomIn, "ViewZoomIn", "Zoom In(&I)", nullptr, "Zoom In",
         Qt::CTRL | Qt::Key_Equal, std::nullopt, false, true, &TFormMain::ViewZoomInExecute},
        {&TFormMain::ViewZoomOut, "ViewZoomOut", "Zoom Out(&O)", nullptr, "Zoom Out",
         Qt::CTRL | Qt::Key_Minus, std::nullopt, false, true, &TFormMain::ViewZoomOutExecute},
        {&TFormMain::ViewZoomActual, "ViewZoomActual", "Actual Size(&A)", nullptr, "Actual Size",
         Qt::CTRL | Qt::Key_0, std::nullopt, false, true, &TFormMain::ViewZoomActualExecute},
        {&TFormMain::ViewGrid, "ViewGrid", "Grid(&G)", nullptr, "Grid",
         Qt::CTRL | Qt::Key_G, std::nullopt, true, true, &TFormMain::ViewLinesExecute},
        {&TFormMain::ViewScreenLines, "ViewScreenLines", "Screen Lines(&L)", nullptr, "Screen Lines",
         Qt::CTRL | Qt::SHIFT | Qt::Key_G, std::nullopt, true, true, &TFormMain::ViewLinesExecute},
        {&TFormMain::ToolPaintTiles, "ToolPaintTiles", "Paint tiles", "Paint tiles", "Paint tiles",
         QKeyCombination(Qt::Key_B), Icon::PaintTiles, true, true, &TFormMain::ToolModeExecute},
        {&TFormMain::ToolMoveObjects, "ToolMoveObjects", "Move objects", "Move objects", "Move objects",
         QKeyCombination(Qt::Key_S), Icon::MoveObjects, true, true, &TFormMain::ToolModeExecute},
    };
    for (const ActionDefinition &definition : definitions) {
        auto *action = new QAction(QString::fromUtf8(definition.caption), this);
        action->setObjectName(QString::fromLatin1(definition.name));
        if (definition.buttonCaption)
            action->setIconText(QString::fromUtf8(definition.buttonCaption));
        if (definition.tip)
            action->setToolTip(QString::fromUtf8(definition.tip));
        if (definition.shortcut != noShortcut)
            action->setShortcut(definition.shortcut);
        // The shortcuts also work while a tool window has the focus; a modal dialog still
        // blocks them.
        action->setShortcutContext(Qt::ApplicationShortcut);
        if (definition.icon)
            action->setIcon(ImageList1(*definition.icon));
        action->setCheckable(definition.checkable);
        // Until a ROM is open there is nothing to save, load, configure or mark.
        action->setEnabled(definition.enabledAtStart);
        connect(action, &QAction::triggered, this,
                [this, execute = definition.execute] { ReportErrors([&] { (this->*execute)(); }); });
        QWidget::addAction(action);
        this->*definition.member = action;
    }
}

// Undo and redo come from the history: their texts name the step they take back or make
// again, and they are off when there is none.
void TFormMain::createHistoryActions()
{
    QUndoStack *history = Document->history();
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
    for (QAction *action : {FileExportImage, EditCut, EditCopy, EditPaste, EditDelete, EditFill,
                            EditSelectNone, ViewZoomIn, ViewZoomOut, ViewZoomActual, ViewGrid,
                            ViewScreenLines, ToolPaintTiles, ToolMoveObjects})
        action->setShortcutContext(Qt::WindowShortcut);
    // Exactly one of the two mouse modes is on.
    auto *modes = new QActionGroup(this);
    modes->addAction(ToolPaintTiles);
    modes->addAction(ToolMoveObjects);
    ToolPaintTiles->setChecked(true);
}

void TFormMain::createMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *file = bar->addMenu(QStringLiteral("File(&F)"));
    file->setObjectName(QStringLiteral("File1"));
    file->addActions({FileOpen1, FileSave, FileRestorePoints, FileExportImage, FileExit1});

    // Alt+E is taken by the tool button "Sprites(&E)".
    QMenu *edit = bar->addMenu(QStringLiteral("Edit(&T)"));
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->addActions({EditUndo, EditRedo});
    edit->addSeparator();
    edit->addActions({EditCut, EditCopy, EditPaste, EditDelete, EditFill, EditSelectNone});

    QMenu *view = bar->addMenu(QStringLiteral("View(&V)"));
    view->setObjectName(QStringLiteral("View1"));
    view->addActions({ViewSpriteMark, ViewCameraMark, ViewStartMark});
    view->addSeparator();
    view->addActions({ViewZoomIn, ViewZoomOut, ViewZoomActual, ViewGrid, ViewScreenLines});
    view->addSeparator();
    view->addActions({ToolPaintTiles, ToolMoveObjects});
    view->addSeparator();
    view->addActions({ViewChipWindow, ViewSpriteWindow, ViewCameraWindow, ViewBananaWindow,
                      ViewHistoryWindow});

    QMenu *settings = bar->addMenu(QStringLiteral("Settings(&S)"));
    settings->setObjectName(QStringLiteral("Settings1"));
    settings->addActions({StageLoad, StageConfig});
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
    ToolBar1->addActions({ToolPaintTiles, ToolMoveObjects});
    ToolBar1->addSeparator();
    ToolBar1->addActions({StageLoad, StageConfig});
    ToolBar1->addSeparator();
    ToolBar1->addActions({ViewChipWindow, ViewSpriteWindow, ViewCameraWindow, ViewBananaWindow});
}

void TFormMain::createStageView()
{
    ImageMain = new StageImage(m_stageCanvas, m_zoomedStage);
    ImageMain->setObjectName(QStringLiteral("ImageMain"));
    ImageMain->setMouseTracking(true);
    ScrollBox1 = createCellScrollBox(ImageMain, this);
    setCentralWidget(ScrollBox1);

    connect(ImageMain, &CanvasImage::mouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
                ReportErrors([&] { ImageMainMouseDown(button, modifiers, x, y); });
            });
    connect(ImageMain, &CanvasImage::mouseMove, this,
            [this](int x, int y, Qt::KeyboardModifiers modifiers) {
                ReportErrors([&] { ImageMainMouseMove(x, y, modifiers); });
            });
    connect(ImageMain, &CanvasImage::mouseUp, this, [this] { ReportErrors([&] { ImageMainMouseUp(); }); });
    connect(ImageMain, &StageImage::zoomChanged, this, &TFormMain::showZoom);
    connect(Selection, &MapSelection::changed, this, [this] { ReportErrors([this] { showSelectedObject(); }); });
    ImageMain->installEventFilter(this);
    m_nudgeActions = AddNudgeActions(this, [this](int dx, int dy) {
        ReportErrors([&] { m_mover.nudge(stageScene(), OffsetTable, dx, dy); });
    });
}

void TFormMain::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    m_cellPanel = new QLabel(bar);
    m_cellPanel->setObjectName(QStringLiteral("StatusBar1Panel0"));
    m_cellPanel->setFixedWidth(cellPanelWidth);
    // The last panel takes the rest of the bar, as the pen text is longer than 50 pixels.
    m_penPanel = new QLabel(bar);
    m_penPanel->setObjectName(QStringLiteral("StatusBar1Panel1"));
    m_penPanel->setMinimumWidth(penPanelWidth);
    m_zoomPanel = new QLabel(bar);
    m_zoomPanel->setObjectName(QStringLiteral("StatusBar1Panel2"));
    m_zoomPanel->setMinimumWidth(zoomPanelWidth);
    bar->addWidget(m_cellPanel);
    bar->addWidget(m_penPanel, 1);
    bar->addWidget(m_zoomPanel);
    m_sharedPanel = new QLabel(bar);
    m_sharedPanel->setObjectName(QStringLiteral("StatusBar1Panel3"));
    bar->addWidget(m_sharedPanel);
    showZoom();
}

void TFormMain::showZoom()
{
    m_zoomPanel->setText(QString::fromStdString(ImageMain->zoom().text()));
}

void TFormMain::createOpenDialog()
{
    OpenDialog1 = new RomOpenDialog(this);
    ExportDialog1 = new ImageExportDialog(this);
}

void TFormMain::readSettings()
{
    ApplicationIni = tamo::IniFile::load(tamo::fs::dataPath(ProgramDir, applicationIniPath));
    const tamo::IniFile &ini = ApplicationIni;
    move(ini.readInteger("MainWindow", "Left", 0), ini.readInteger("MainWindow", "Top", 0));
    resizeClientAreaBelowMenu(*this, QSize(ini.readInteger("MainWindow", "ClientWidth", 450),
                                           ini.readInteger("MainWindow", "ClientHeight", 350)));
    resize(sizeWithinScreen(size(), pos()));
    moveOntoScreens(*this);
    if (ini.readBool("MainWindow", "isMaximized", false)) {
        m_normalPlace = QRect(pos(), size());
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    const std::string initialDir
        = ini.readString("FileDialog", "InitialDir", tamo::fileNameText(ProgramDir).toStdString());
    OpenDialog1->setDirectory(QString::fromStdString(initialDir));
    MarkSwitches.ShowSpriteMarks = ini.readBool("View", "Sprite", true);
    MarkSwitches.ShowCameraMarks = ini.readBool("View", "Camera", true);
    MarkSwitches.ShowStartMark = ini.readBool("View", "Start", true);
    ViewSpriteMark->setChecked(MarkSwitches.ShowSpriteMarks);
    ViewCameraMark->setChecked(MarkSwitches.ShowCameraMarks);
    ViewStartMark->setChecked(MarkSwitches.ShowStartMark);
    const tamo::MapViewSettings mapView = tamo::ReadMapViewSettings(ini);
    ViewGrid->setChecked(mapView.Grid);
    ViewScreenLines->setChecked(mapView.ScreenLines);
    ImageMain->setLines(mapView.Grid, mapView.ScreenLines);
    ImageMain->setZoom(mapView.Zoom);
    (mapView.MoveObjects ? ToolMoveObjects : ToolPaintTiles)->setChecked(true);
    LevelNumber = tamo::ReadLatestStage(ini);
    RestorePointsKept = ini.readInteger("Backups", "Keep", 20);
}

void TFormMain::writeSettings()
{
    tamo::IniFile &ini = ApplicationIni;
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
    if (RomLoaded) {
        const QString folder = QFileInfo(RomFileName).absolutePath() + QLatin1Char('/');
        ini.writeString("FileDialog", "InitialDir", QDir::toNativeSeparators(folder).toStdString());
    }
    ini.writeBool("View", "Sprite", MarkSwitches.ShowSpriteMarks);
    ini.writeBool("View", "Camera", MarkSwitches.ShowCameraMarks);
    ini.writeBool("View", "Start", MarkSwitches.ShowStartMark);
    ini.writeInteger("Stage", "Latest", LevelNumber);
    FormChip->SavePlacement(ini);
    FormSpriteEdit->SavePlacement(ini);
    FormCameraEdit->SavePlacement(ini);
    FormBananaEdit->SavePlacement(ini);
    FormHistory->SavePlacement(ini);
    tamo::WriteMapViewSettings(ini, {ImageMain->zoom(), ViewGrid->isChecked(), ViewScreenLines->isChecked(),
                                     movingObjects()});
    ini.save(tamo::fs::dataPath(ProgramDir, applicationIniPath));
}

void TFormMain::LoadOffsetTable()
{
    OffsetsIni = tamo::IniFile::load(tamo::fs::dataPath(ProgramDir, "Data\\offsets.ini"));
    OffsetTable = tamo::LoadOffsetTable(OffsetsIni);
    SpriteIni = tamo::IniFile::load(tamo::fs::dataPath(ProgramDir, "Data\\sprite.ini"));
}

void TFormMain::LoadMarkPicture()
{
    tamo::LoadMarkPicture(tamo::QtPictureLoader(), ProgramDir, MarkPicture);
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
        OpenRom(CommandLineRom);
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    if (!unsavedEditsMayGo()) {
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
            this, [this] { ReportErrors([this] { OfferReload(*Document, LevelNumber); }); }, Qt::QueuedConnection);
    // A window made maximized has never had its normal place on the screen; the first
    // restore puts it where the last close in the normal state left it.
    if (event->type() == QEvent::WindowStateChange && m_normalPlace
        && !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) {
        move(m_normalPlace->topLeft());
        resize(m_normalPlace->size());
        m_normalPlace.reset();
    }
}

void TFormMain::OpenRom(const QString &path)
{
    if (!OtherEditorsAllowOpen(*Journal, path))
        return;
    try {
        Document->open(path);
    } catch (const std::exception &) {
        // The image, its history, the stage and the windows all stay as they were.
        ShowMessage(path + QStringLiteral("の読み込みに失敗しました。"));
        return;
    }
    RomLoaded = true;
    enableRomActions();
    FormSpriteEdit->EnableEditing();
    FormCameraEdit->EnableEditing();
    FormBananaEdit->EnableEditing();
    RemoveStaleSaveCopies(*Document);
    // Before the stage is shown: a stage that fails to load must not keep the question
    // from being asked, and the edits of the journal are lost once new ones replace them.
    OfferRecovery(*Journal, *Document, LevelNumber);
    LoadStage();
}

void TFormMain::enableRomActions()
{
    for (QAction *action : {FileSave, FileRestorePoints, FileExportImage, StageLoad, StageConfig, ViewSpriteMark,
                            ViewCameraMark, ViewStartMark, EditPaste})
        action->setEnabled(true);
}

bool TFormMain::SaveRom()
{
    if (!DiskAllowsSave(*Document))
        return false;
    // A restore point that cannot be written stops the save before the file is touched.
    restorePoints().keepBeforeSave();
    // A failed write throws before the success message; the image stays as it is.
    Document->save();
    ShowMessage(RomFileName + QStringLiteral("を保存しました。"));
    return true;
}

RestorePoints TFormMain::restorePoints() const
{
    return RestorePoints(tamo::fs::dataPath(ProgramDir, backupsFolder), tamo::filePath(RomFileName), RestorePointsKept);
}

bool TFormMain::unsavedEditsMayGo()
{
    if (!Document->isModified())
        return true;
    const QString question
        = QStringLiteral("%1 has unsaved changes. Save them?").arg(RomFileName);
    switch (AskAboutUnsavedEdits(question)) {
    case UnsavedEditsAnswer::Save:
        try {
            return SaveRom();
        } catch (const std::exception &error) {
            // The edits stay, and so does everything else.
            ShowMessage(QString::fromUtf8(error.what()));
            return false;
        }
    case UnsavedEditsAnswer::Discard:
        Journal->discard();
        return true;
    case UnsavedEditsAnswer::Cancel:
        break;
    }
    return false;
}

void TFormMain::LoadStage()
{
    // Until the load succeeds no stage is shown, and the editors list no records that an
    // Update could write.
    m_stageShown = false;
    Selection->select(std::nullopt);
    // The tools' cells belong to the stage shown until now.
    Tools = {};
    toolsChanged();
    FormSpriteEdit->ClearList();
    FormCameraEdit->ClearList();
    FormBananaEdit->ClearList();
    ImageMain->hide();
    const tamo::StageSource source{RomImage, OffsetTable, OffsetsIni};
    // A failure below leaves the map hidden and, beyond these two, the previous stage's
    // fields as they were.
    Stage.FGTilemap = tamo::DecodeFGTilemap(source, LevelNumber, &Stage.FGWord);
    Stage.LevelNumber = LevelNumber;
    try {
        tamo::LoadChipPicture(tamo::QtPictureLoader(), ProgramDir, Stage.FGTilemap, ChipPicture);
    } catch (...) {
        // No chips are left to offer: the palette must not go on showing the last ones.
        FormChip->DrawChipPalette();
        throw;
    }
    Stage = tamo::DecodeStage(source, LevelNumber, Stage);
    tamo::ResetPen(Pen);
    MapEditHFlip->setChecked(Pen.HFlip);
    MapEditVFlip->setChecked(Pen.VFlip);
    m_stageCanvas.resize(Stage.MapWidth * tamo::CellPixels, Stage.MapHeight * tamo::CellPixels);
    m_stageCanvas.clear();
    ImageMain->setNote(screenModeNote(Stage.ScreenMode));
    RedrawStage();
    FormChip->DrawChipPalette();
    FormSpriteEdit->RefreshList(true);
    FormCameraEdit->RefreshList(true);
    FormBananaEdit->RefreshList(true);
    const std::vector<int32_t> sharing = tamo::StagesSharingTileMap(source, LevelNumber);
    m_sharedTileMap = QString::fromStdString(tamo::SharedTileMapText(sharing));
    m_sharedPanel->setText(m_sharedTileMap);
    m_sharedPanel->setToolTip(QString::fromStdString(tamo::SharedTileMapText(sharing, sharing.size())));
    m_stageShown = true;
    ImageMain->show();
}

void TFormMain::DocumentChanged(const RomChange &change)
{
    switch (change.scope) {
    case EditScope::TileMap:
        if (!m_stageShown)
            return;
        for (const tamo::CellPosition &cell : tamo::DrawChangedCells(stageScene(), change.patch))
            cellChanged(cell.column, cell.row);
        // During a stroke the marks come back when the button is released.
        if (!Pen.Painting) {
            tamo::DrawMarks(stageScene());
            imageChanged();
        }
        return;
    case EditScope::StartPoint:
        // The start mark stands where the stage's decoded start point says.
        if (m_stageShown)
            Stage = tamo::DecodeStage({RomImage, OffsetTable, OffsetsIni}, LevelNumber, Stage);
        [[fallthrough]];
    case EditScope::SpriteList:
    case EditScope::CameraList:
    case EditScope::BananaList:
        if (m_stageShown) {
            RedrawStage();
            showSelectedObject();
        }
        return;
    case EditScope::StageSettings:
    case EditScope::WholeImage:
        // The stage is decoded from these bytes.
        LoadStage();
        return;
    }
}

void TFormMain::ShowStageOf(int32_t level)
{
    if (m_stageShown && level == LevelNumber)
        return;
    LevelNumber = level;
    LoadStage();
}

void TFormMain::RedrawStage()
{
    tamo::RedrawStage(stageScene());
    imageChanged();
}

tamo::StageScene TFormMain::stageScene()
{
    return tamo::StageScene{RomImage, Stage, ChipPicture.get(), MarkPicture.get(), MarkSwitches,
                            m_stageCanvas};
}

void TFormMain::editMap(const std::function<void(tamo::MapEditor &)> &edit)
{
    const tamo::StageScene scene = stageScene();
    tamo::MapEditor editor(scene, Pen, Tools, *this);
    edit(editor);
}

void TFormMain::useTileTools(const std::function<void(tamo::TileTools &)> &use)
{
    if (m_stageShown && !movingObjects())
        editMap([&](tamo::MapEditor &editor) { use(editor.tiles()); });
}

void TFormMain::FileOpen1Execute()
{
    if (!unsavedEditsMayGo())
        return;
    if (OpenDialog1->exec() == QDialog::Accepted && !OpenDialog1->selectedFiles().isEmpty())
        FileOpen1Accept(OpenDialog1->selectedFiles().constFirst());
}

void TFormMain::FileOpen1Accept(const QString &path)
{
    OpenRom(QDir::toNativeSeparators(path));
}

void TFormMain::FileSaveExecute()
{
    SaveRom();
}

void TFormMain::FileRestorePointsExecute()
{
    TFormRestorePoints dialog(this);
    const std::optional<RestorePoint> chosen = dialog.Execute(restorePoints().list());
    if (!chosen)
        return;
    const QString text = QStringLiteral("Restore point of %1")
                             .arg(chosen->madeAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    Document->replaceImage(tamo::fs::readWholeFile(chosen->file), text, LevelNumber);
}

void TFormMain::StageLoadExecute()
{
    const int level = FormLevelSelect->Execute();
    if (level == -1)
        return;
    LevelNumber = level;
    LoadStage();
}

void TFormMain::StageConfigExecute()
{
    // A confirmed change reloads the stage as it is made; an OK that changed no byte
    // reloads it all the same.
    const int steps = Document->history()->index();
    if (FormLevelSetting->exec() == 1 && Document->history()->index() == steps)
        LoadStage();
}

void TFormMain::MapEditHFlipExecute()
{
    editMap([](tamo::MapEditor &editor) { editor.toggleHFlip(); });
}

void TFormMain::MapEditVFlipExecute()
{
    editMap([](tamo::MapEditor &editor) { editor.toggleVFlip(); });
}

void TFormMain::FileExit1Execute()
{
    close();
}

void TFormMain::FileExportImageExecute()
{
    if (!m_stageShown)
        return;
    ExportDialog1->setDirectory(QFileInfo(RomFileName).absolutePath());
    ExportDialog1->selectFile(QStringLiteral("stage%1.png").arg(LevelNumber));
    if (ExportDialog1->exec() != QDialog::Accepted || ExportDialog1->selectedFiles().isEmpty())
        return;
    tamo::SavePng(m_stageCanvas.picture(), ExportDialog1->selectedFiles().constFirst());
}

void TFormMain::EditCutExecute()
{
    useTileTools([](tamo::TileTools &tiles) { tiles.cut(); });
}

void TFormMain::EditCopyExecute()
{
    useTileTools([](tamo::TileTools &tiles) { tiles.copy(); });
}

void TFormMain::EditPasteExecute()
{
    const std::optional<tamo::TileBlock> block = TileBlockToPaste(*statusBar());
    if (!block)
        return;
    const QPoint at = ImageMain->canvasPointInView();
    useTileTools([&](tamo::TileTools &tiles) { tiles.paste(*block, tamo::CellAt(at.x(), at.y())); });
}

void TFormMain::EditDeleteExecute()
{
    useTileTools([](tamo::TileTools &tiles) { tiles.deleteCells(); });
}

void TFormMain::EditFillExecute()
{
    useTileTools([](tamo::TileTools &tiles) { tiles.fill(); });
}

void TFormMain::EditSelectNoneExecute()
{
    if (movingObjects())
        Selection->select(std::nullopt);
    useTileTools([](tamo::TileTools &tiles) { tiles.cancel(); });
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

void TFormMain::ToolModeExecute()
{
    // The tile tools' selection and floating block belong to painting.
    Tools = {};
    toolsChanged();
    showSelectedObject();
}

bool TFormMain::movingObjects() const
{
    return ToolMoveObjects->isChecked();
}

void TFormMain::showSelectedObject()
{
    const tamo::StageScene scene = stageScene();
    const std::optional<tamo::MapObject> &object = Selection->object();
    const std::optional<tamo::ObjectMark> mark = object ? tamo::FindObjectMark(scene, *object) : std::nullopt;
    // The arrow keys scroll the map unless they have an object to move.
    for (QAction *nudge : m_nudgeActions)
        nudge->setEnabled(m_stageShown && mark && movingObjects());
    if (!m_stageShown || !mark) {
        ImageMain->showObject(std::nullopt, {});
        return;
    }
    const QRect place(mark->left, mark->top, tamo::CellPixels, tamo::CellPixels);
    const std::optional<tamo::ObjectMark> dragged = m_mover.dragged();
    if (dragged) {
        // The mark as the map shows it, following the pointer.
        ImageMain->showObject(QRect(dragged->left, dragged->top, tamo::CellPixels, tamo::CellPixels),
                              m_stageCanvas.picture().copy(place));
        return;
    }
    ImageMain->showObject(place, {});
    const QPoint centre = place.center();
    ScrollBox1->ensureVisible(ImageMain->zoom().toView(centre.x()), ImageMain->zoom().toView(centre.y()));
}

void TFormMain::ViewSpriteMarkExecute()
{
    toggleMarkSwitch(MarkSwitches.ShowSpriteMarks, ViewSpriteMark);
}

void TFormMain::ViewCameraMarkExecute()
{
    toggleMarkSwitch(MarkSwitches.ShowCameraMarks, ViewCameraMark);
}

void TFormMain::ViewStartMarkExecute()
{
    toggleMarkSwitch(MarkSwitches.ShowStartMark, ViewStartMark);
}

void TFormMain::ViewChipWindowExecute()
{
    FormChip->toggleShown();
}

void TFormMain::ViewSpriteWindowExecute()
{
    FormSpriteEdit->toggleShown();
}

void TFormMain::ViewCameraWindowExecute()
{
    FormCameraEdit->toggleShown();
}

void TFormMain::ViewBananaWindowExecute()
{
    FormBananaEdit->toggleShown();
}

void TFormMain::ViewHistoryWindowExecute()
{
    FormHistory->toggleShown();
}

void TFormMain::toggleMarkSwitch(bool &mark, QAction *action)
{
    mark = !mark;
    action->setChecked(mark);
    RedrawStage();
    // A selected object whose marks go off loses its frame and its arrow keys.
    showSelectedObject();
}

void TFormMain::PaletteClick(int x, int y)
{
    editMap([x, y](tamo::MapEditor &editor) { editor.paletteClick(x, y); });
}

void TFormMain::ImageMainMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y)
{
    if (movingObjects()) {
        // Only the left button does anything here, and it never paints.
        if (button == Qt::LeftButton && m_stageShown) {
            m_mover.press(stageScene(), x, y);
            showSelectedObject();
        }
        return;
    }
    const bool shift = modifiers & Qt::ShiftModifier;
    editMap([=](tamo::MapEditor &editor) { editor.mouseDown(toMouseButton(button), x, y, shift); });
}

void TFormMain::ImageMainMouseMove(int x, int y, Qt::KeyboardModifiers modifiers)
{
    if (movingObjects()) {
        if (m_mover.dragged()) {
            m_mover.move(stageScene(), x, y, modifiers & Qt::ShiftModifier);
            showSelectedObject();
        }
        editMap([=](tamo::MapEditor &editor) { editor.ShowPenStatus(tamo::CellAt(x, y)); });
        return;
    }
    editMap([=](tamo::MapEditor &editor) { editor.mouseMove(x, y); });
}

void TFormMain::ImageMainMouseUp()
{
    if (movingObjects()) {
        if (m_mover.dragged()) {
            m_mover.release(stageScene(), OffsetTable);
            showSelectedObject();
        }
        return;
    }
    editMap([](tamo::MapEditor &editor) { editor.mouseUp(); });
}

void TFormMain::showCellStatus(const std::string &text)
{
    m_cellPanel->setText(QString::fromStdString(text));
}

void TFormMain::showPenStatus(const std::string &text)
{
    m_penPanel->setText(QString::fromStdString(text));
}

void TFormMain::penChanged()
{
    MapEditHFlip->setChecked(Pen.HFlip);
    MapEditVFlip->setChecked(Pen.VFlip);
    FormChip->DrawChipPalette();
    // A stamp's place follows the pointer.
    toolsChanged();
}

void TFormMain::strokeStarted()
{
    m_stroke.begin(Document->newMergeKey());
}

void TFormMain::paint(const tamo::RomPatch &patch)
{
    RomEdit edit = m_stroke.edit(patch, LevelNumber, RomImage);
    edit.text = tileStepText(edit.text);
    Document->edit(edit);
}

QString TFormMain::tileStepText(const QString &text) const
{
    return m_sharedTileMap.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, m_sharedTileMap);
}

bool TFormMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && watched == ImageMain && m_stageShown) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QPoint at = ImageMain->canvasPoint(help->pos());
        const QString tip = SpriteMarkTip(stageScene(), SpriteIni, at.x(), at.y());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, ImageMain);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::cellChanged(int32_t column, int32_t row)
{
    ImageMain->updateCell(column, row);
}

void TFormMain::imageChanged()
{
    ImageMain->followCanvasSize();
    ImageMain->update();
}

void TFormMain::editTiles(const std::string &text, const tamo::RomPatch &patch)
{
    Document->edit(RomEdit{tileStepText(QString::fromStdString(text)), EditScope::TileMap, LevelNumber, patch});
}

void TFormMain::copyTiles(const tamo::TileBlock &block)
{
    PutTileBlockOnClipboard(block);
}

void TFormMain::toolsChanged()
{
    ImageMain->showTools(Tools, Pen, ChipPicture.get());
    for (QAction *action : {EditCut, EditCopy, EditDelete, EditFill})
        action->setEnabled(Tools.Selection.has_value());
}
