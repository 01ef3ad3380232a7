#pragma once

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tamo {
struct StageSource;
}

namespace tamo::cli {

// The stage files of a ROM: one per stage, one per tile map of screen mode 0.
struct StageFolder
{
    std::map<QString, QByteArray> texts; // by file name
    size_t stages = 0;
    size_t tileMaps = 0;
    // The stages that have no file, as their tables lie outside the image, and why.
    std::vector<std::string> leftOut;
};

StageFolder stageFolder(const StageSource &source);

struct FolderWrite
{
    int written = 0;   // files new or changed
    int unchanged = 0; // files that held the text already, left as they were
    int removed = 0;   // stage and tile map files of the folder that are no longer written
};

// Writes the files into the folder, which is made when missing.
FolderWrite writeStageFolder(const std::filesystem::path &dir, const std::map<QString, QByteArray> &texts);

} // namespace tamo::cli
