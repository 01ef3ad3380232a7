#include "forms/common/stage_picture_file.h"

#include "core/stage.h"
#include "forms/common/qt_canvas.h"
#include "view/stage_renderer.h"

#include <QImageWriter>

#include <stdexcept>

namespace tamo {

QImage StagePicture(const RomImage &rom, const Stage &stage, const Picture *chipPicture,
                    const Picture *markPicture, MarkSwitches switches)
{
    QtCanvas canvas;
    canvas.resize(stage.MapWidth * CellPixels, stage.MapHeight * CellPixels);
    RedrawStage({rom, stage, chipPicture, markPicture, switches, canvas});
    return canvas.picture();
}

void SavePng(const QImage &picture, const QString &file)
{
    if (picture.isNull())
        throw std::runtime_error(file.toStdString() + ": the picture is empty (0 pixels), nothing was written");
    QImageWriter writer(file, "png");
    if (!writer.write(picture))
        throw std::runtime_error(file.toStdString() + ": " + writer.errorString().toStdString());
}

} // namespace tamo
