#include "qtcommon/stage_picture_file.h"

#include "core/file_system.h"
#include "core/stage.h"
#include "files/file_names.h"
#include "qtcommon/png_encoder.h"
#include "qtcommon/qt_canvas.h"
#include "view/stage_renderer.h"


#include <filesystem>
#include <stdexcept>
#include <vector>

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
    // Qt would name the file through its own decoding, which loses bytes that are not
    // UTF-8: the PNG is made in memory and written under the file's own name.
    const std::filesystem::path path = filePath(file);
    if (picture.isNull())
        throw std::runtime_error(path.string() + ": the picture is empty (0 pixels), nothing was written");
    std::vector<uint8_t> png;
    try {
        png = EncodePng(picture);
    } catch (const std::runtime_error &error) {
        throw std::runtime_error(path.string() + ": " + error.what());
    }
    fs::writeWholeFile(path, png);
}

} // namespace tamo
