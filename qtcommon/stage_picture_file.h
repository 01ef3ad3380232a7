#pragma once

#include "view/stage_scene.h"

#include <QImage>
#include <QString>

namespace tamo {

struct Stage;

// The stage image at 1:1 drawn afresh as the stage view draws it: the tiles, then the
// marks that are switched on. Throws OutOfResources when its bitmap cannot be made.
QImage StagePicture(const RomImage &rom, const Stage &stage, const Picture *chipPicture,
                    const Picture *markPicture, MarkSwitches switches);

// Writes the picture as a PNG file; throws with the file named when it is empty or the
// file cannot be written.
void SavePng(const QImage &picture, const QString &file);

} // namespace tamo
