#include "view/stage_pictures.h"

namespace tamo {

void LoadPicture(const PictureLoader &loader, const std::filesystem::path &file, std::unique_ptr<Picture> &picture)
{
    picture.reset();
    picture = loader.load(file);
}

} // namespace tamo
