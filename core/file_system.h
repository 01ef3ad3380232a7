#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

// The few platform calls the program needs, in one place.
namespace tamo::fs {

// Reads a whole file; throws RomError naming the path when it cannot.
std::vector<uint8_t> readWholeFile(const std::filesystem::path &path);

// Replaces the start of an existing file with data: the file ends up holding data from
// position 0 and keeps any bytes beyond data.size(). A complete new copy is written
// beside the file, flushed to disk and renamed over it (keeping the file's permissions);
// where the folder takes no new file, the bytes are written in place instead. Throws
// RomError naming the path when the file does not exist or cannot be written, leaving it
// as it was whenever the copy could be made.
void overwriteFileStart(const std::filesystem::path &path, std::span<const uint8_t> data);

// Writes a whole file, creating or truncating it; the same replace-by-copy as above.
void writeWholeFile(const std::filesystem::path &path, std::span<const uint8_t> data);

// A data path written with backslashes ("Data\chip12.bmp"), relative to dir.
std::filesystem::path dataPath(const std::filesystem::path &dir, std::string_view relative);

} // namespace tamo::fs
