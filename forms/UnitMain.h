#pragma once

#include "core/ini_file.h"
#include "core/offset_table.h"
#include "core/rom_image.h"
#include "core/stage.h"

#include <QMainWindow>
#include <QString>

#include <cstdint>
#include <filesystem>

class QAction;

// The main window: it owns the state every other window works on (the ROM image, the
// offset table, the data files and the current stage), shows the stage map and carries
// the program's one list of actions.
class TFormMain : public QMainWindow
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
};

extern TFormMain *FormMain;
