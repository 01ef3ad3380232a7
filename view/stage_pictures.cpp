#include "view/stage_pictures.h"

#include "core/file_system.h"
#include "core/stage.h"

namespace tamo {

std::filesystem::path ChipPictureFile(const std::filesystem::path &programDir, int32_t fgTilemap)
{
    return fs::dataPath(programDir, ChipPicturePath(fgTilemap));
}

std::filesystem::path MarkPictureFile(const std::filesystem::path &programDir)
{
    return fs::dataPath(programDir, "Data\\mark.bmp");
}

void LoadChipPicture(const PictureLoader &loader, const std::filesystem::path &programDir,
                     int32_t fgTilemap, std::unique_ptr<Picture> &chipPicture)
{
    chipPicture.reset();
    chipPicture = loader.load(ChipPictureFile(programDir, fgTilemap));
}

void LoadMarkPicture(const PictureLoader &loader, const std::filesystem::path &programDir,
                     std::unique_ptr<Picture> &markPicture)
{
    markPicture.reset();
    markPicture = loader.load(MarkPictureFile(programDir));
}

} // namespace tamo
