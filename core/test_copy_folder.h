#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace tamo {

// The copies of the image that an emulator is started on, so that a test run never
// touches the ROM file. They lie in a folder of this run's own, "run-" + the process
// number, below a parent folder that only this user may enter; each copy has a folder of
// its own in it, so that a new copy never writes over one an emulator still reads.
class TestCopyFolder
{
public:
    // "tamo-emulator-copies-" + the user's number, in the system's temporary folder.
    static std::filesystem::path defaultParent();

    // Removes the folders that runs which are not running any more left below the parent
    // (they were killed before they could remove them).
    explicit TestCopyFolder(std::filesystem::path parent);
    // Removes this run's folder with every copy in it.
    ~TestCopyFolder();
    TestCopyFolder(const TestCopyFolder &) = delete;
    TestCopyFolder &operator=(const TestCopyFolder &) = delete;

    // Writes the bytes to a fresh copy with the file name given (the ROM file's name and
    // extension) and returns its path. The folders are made at the first copy. Throws
    // RomError with the reason when a folder or the copy cannot be written; a copy cut
    // short is not left behind.
    std::filesystem::path writeCopy(const std::filesystem::path &fileName, std::span<const uint8_t> bytes);

    // This run's folder, made or not.
    std::filesystem::path runFolder() const;

private:
    void removeLeftBehind() const;
    void makeRunFolder();

    std::filesystem::path m_parent;
    bool m_made = false;
    int m_copies = 0;
};

} // namespace tamo
