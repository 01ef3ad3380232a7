#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The few platform calls the program needs, in one place.
namespace tamo::fs {

// Reads a whole file; throws RomError naming the path when it cannot.
std::vector<uint8_t> readWholeFile(const std::filesystem::path &path);

// A file the program keeps for itself (a recovery journal), read only where it is what the
// program writes: a regular file of at most limit bytes. The name is never followed
// through a symbolic link, and the open never waits (as it would on a pipe without a
// writer); what it opened is checked on the open file, so nothing swapped in between is
// read.
struct OwnFileRead
{
    bool found = false;                        // the name names something: a file, a link, a folder, a pipe
    std::optional<std::vector<uint8_t>> bytes; // its bytes, where it is such a file and reads whole
    int64_t modifiedNs = 0;                    // the last write of its bytes
};
OwnFileRead readOwnFile(const std::filesystem::path &path, uint64_t limit);

// Replaces the start of an existing file with data: the file ends up holding data from
// position 0 and keeps any bytes beyond data.size(). A save keeps the file what it was:
// through a symbolic link it writes the file the link names; the file keeps its inode,
// owner, group, mode and extended attributes. Where all of that can be kept, a complete
// new copy is written beside the file, flushed, read back and renamed over it; where it
// cannot (a file with more than one name, an owner or attribute the copy cannot be given)
// or the copy cannot be made (no space, no inode, a name too long, a folder that refuses
// the new file or the rename), the bytes are written in place, flushed and read back.
// A failed in-place write puts the file's earlier bytes back. Throws RomError naming the
// path when the file does not exist or cannot be written; no copy is left beside it.
void overwriteFileStart(const std::filesystem::path &path, std::span<const uint8_t> data);

// When a save's bytes are made to reach the disk: before the save returns, or at the next
// flushWrites(), which many saves then share (each save still replaces its file whole, so
// a program killed part way leaves every file either as it was or as written).
enum class Flush { BeforeReturn, Later };

// Writes a whole file, creating or truncating it, the same way; a symbolic link keeps
// naming the file, which gets the bytes.
void writeWholeFile(const std::filesystem::path &path, std::span<const uint8_t> data,
                    Flush flush = Flush::BeforeReturn);

// Waits until everything written into the file system that holds folder, the saves left
// for later included, is on the disk; throws RomError naming the folder when it cannot.
void flushWrites(const std::filesystem::path &folder);

// Removes the copies that saves cut short (by a crash, a power cut, a killed program) left
// beside the file; returns those that could not be removed.
std::vector<std::filesystem::path> removeStaleSaveCopies(const std::filesystem::path &file);

// Whether the program may make files in folder: it exists, the process may write there,
// and it is not write-protected (no write bit at all, which root would pass otherwise).
bool isWritableFolder(const std::filesystem::path &folder);

// What tells one file from another, and whether its bytes may have been written.
struct FileStamp
{
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0; // the bytes' last write, which a program may set back
    int64_t changedNs = 0;  // the last change of bytes or properties, which none can

    bool isSameFile(const FileStamp &other) const
    {
        return device == other.device && inode == other.inode;
    }
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

// The stamp of the file a path names (through symbolic links); none when it names none.
std::optional<FileStamp> stampOf(const std::filesystem::path &path);

// The number of this program's process, and whether a process of that number is running.
int64_t currentProcessId();
bool processIsRunning(int64_t id);
// The number of the user the program runs for.
int64_t currentUserId();

// Makes a folder only this user may enter, or checks that the one of that name is such: a
// folder (never a symbolic link) owned by this user, which no one else may enter. Throws
// RomError naming the path otherwise.
void makePrivateFolder(const std::filesystem::path &path);

// The steps of a save at which the system may fail. A test makes a step fail by returning
// an errno value for it (0 lets it run); a failing write gets half its bytes written
// first, as on a disk that fills up, and a failing read-back sees one byte changed.
enum class SaveStep { MakeCopy, WriteCopy, KeepOwner, KeepMode, KeepAttributes, FlushCopy, Rename, WriteInPlace, ReadBack };
void SetSaveFaults(std::function<int(SaveStep)> faults);

} // namespace tamo::fs
