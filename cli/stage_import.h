#pragma once

#include "core/rom_image.h"

#include <QString>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tamo {
struct StageSource;
}

namespace tamo::cli {

// One value of the files that differs from the ROM: "stage 22", "sprite 3 x", "160", "192".
struct ImportChange
{
    QString owner;
    QString what;
    QString oldValue;
    QString newValue;
};

struct StageImport
{
    RomImage image; // the ROM with the values of the files
    std::vector<ImportChange> changes; // in the order of the files and their lines
    int64_t changedBytes = 0;
};

// Reads the stage files of the folder (all of them, as the export writes them) against the
// ROM: every list as long as the ROM's, shared where the ROM shares it; every tile map as
// wide as its stages show it with the settings of the files. Throws std::runtime_error
// naming the file and the line of the first value that does not read, lies outside its
// field, would end its list early, or gives a byte another value than another line does;
// nothing is changed then.
StageImport importStages(const StageSource &source, const std::filesystem::path &dir);

} // namespace tamo::cli
