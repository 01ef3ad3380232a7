#pragma once

#include "view/canvas.h"

#include <cstdint>
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

// ProgramDir + "Data\chip" + tilemap number in decimal + ".bmp".
std::filesystem::path ChipPictureFile(const std::filesystem::path &programDir, int32_t fgTilemap);
// ProgramDir + "Data\mark.bmp".
std::filesystem::path MarkPictureFile(const std::filesystem::path &programDir);

// Each drops the picture it replaces before loading, so a failed load leaves none.
void LoadChipPicture(const PictureLoader &loader, const std::filesystem::path &programDir,
                     int32_t fgTilemap, std::unique_ptr<Picture> &chipPicture);
void LoadMarkPicture(const PictureLoader &loader, const std::filesystem::path &programDir,
                     std::unique_ptr<Picture> &markPicture);

} // namespace tamo
