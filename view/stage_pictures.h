#pragma once

#include "view/canvas.h"

#include <filesystem>
#include <memory>

namespace tamo {

// Loads a bitmap file; throws with the file named when it cannot be read.
class PictureLoader
{
public:
    virtual ~PictureLoader() = default;
    virtual std::unique_ptr<Picture> load(const std::filesystem::path &file) const = 0;
};

// Loads the bitmap file into picture, dropping the picture it replaces first, so that a
// failed load leaves none.
void LoadPicture(const PictureLoader &loader, const std::filesystem::path &file, std::unique_ptr<Picture> &picture);

} // namespace tamo
