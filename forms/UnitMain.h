#pragma once

#include "core/ini_file.h"
#include "core/offset_table.h"
#include "core/rom_image.h"
#include "core/stage.h"
#include "forms/common/qt_canvas.h"
#include "view/map_editor.h"
#include "view/map_pen.h"
#include "view/stage_scene.h"

#include <QMainWindow>
#include <QRect>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class CanvasImage;
class QAction;
class QFileDialog;
class QLabel;
class QScrollArea;
class QToolBar;

namespace tamo {
class Picture;
}

// The main window: it owns the state every other window works on (the ROM image, the
// offset table, the data files, the current stage and the pen), shows the stage map and
// carries the program's one list of actions.
class TFormMain : public QMainWindow, private tamo::MapEditorHost
{
    Q_OBJECT

public:
    explicit TFormMain(const std::filesystem::path &programDir);
    ~TFormMain() override;

    // Reads the file whole into a new image; on failure the old image and stage stay.
    void OpenRom(const QString &path);
    void SaveRom();
    void LoadStage();
    void RedrawStage();

    // A click in the chip window's palette, at palette pixel (x, y).
    void PaletteClick(int x, int y);

    std::filesystem::path ProgramDir;
    tamo::IniFile ApplicationIni;
    tamo::IniFile OffsetsIni;
    tamo::IniFile SpriteIni;
    tamo::RomImage RomImage;
    QString RomFileName;
    bool RomLoaded = false;
    tamo::OffsetTable OffsetTable;
    int32_t LevelNumber = 22;
    tamo::Stage Stage;
    tamo::Pen Pen;
    tamo::MarkSwitches MarkSwitches;
    std::unique_ptr<tamo::Picture> ChipPicture;
    std::unique_ptr<tamo::Picture> MarkPicture;

    // The ROM named on the command line, opened when the window is first shown.
    QString CommandLineRom;

    QAction *FileOpen1 = nullptr;
    QAction *FileSave = nullptr;
    QAction *FileExit1 = nullptr;
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

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createActions();
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
    void FileExit1Execute();
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
    void toggleMarkSwitch(bool &mark, QAction *action);
    void enableRomActions();

    void ImageMainMouseDown(Qt::MouseButton button, int x, int y);
    void ImageMainMouseMove(int x, int y);
    void ImageMainMouseUp();

    tamo::StageScene stageScene();
    void editMap(const std::function<void(tamo::MapEditor &)> &edit);

    // What the map editor asks of the window.
    void showCellStatus(const std::string &text) override;
    void showPenStatus(const std::string &text) override;
    void penChanged() override;
    void cellChanged(int32_t column, int32_t row) override;
    void imageChanged() override;

    bool m_shownBefore = false;
    // The normal place of a window that starts maximized, for its first restore.
    std::optional<QRect> m_normalPlace;
    tamo::QtCanvas m_stageCanvas;
    QToolBar *ToolBar1 = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    CanvasImage *ImageMain = nullptr;
    QLabel *m_cellPanel = nullptr;
    QLabel *m_penPanel = nullptr;
    QFileDialog *OpenDialog1 = nullptr;
};

extern TFormMain *FormMain;
