#pragma once

#include <QIcon>

// The 16 x 16 tool bar pictures shared by the main window and the chip window.
enum class ImageListIcon {
    Open = 0,
    Save = 1,
    ChipWindow = 2,
    SpriteWindow = 3,
    BananaWindow = 4,
    LoadStage = 5,
    HFlip = 6,
    VFlip = 7,
    StageConfig = 8,
    CameraWindow = 9,
    Undo = 10,
    Redo = 11,
    Fill = 12,
    PaintTiles = 13,
    MoveObjects = 14,
    TestInEmulator = 15,
};

QIcon ImageList1(ImageListIcon icon);
