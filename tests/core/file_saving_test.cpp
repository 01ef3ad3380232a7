#include "core/file_system.h"
#include "core/rom_error.h"
#include "core/rom_image.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace stdfs = std::filesystem;
using tamo::RomImage;
using tamo::fs::SaveStep;

namespace {

// Saves of game.smc in a folder of its own, with steps of the save made to fail (once
// each) where a test says so.
class FileSavingTest : public ::testing::Test
{
protected:
    ~FileSavingTest() override { tamo::fs::SetSaveFaults({}); }

    static std::vector<uint8_t> pattern(size_t size, uint8_t seed)
    {
        std::vector<uint8_t> bytes(size);
        for (size_t i = 0; i < size; ++i)
            bytes[i] = uint8_t(i * 31 + seed + i / 251);
        return bytes;
    }
    static void writeFile(const stdfs::path &path, const std::vector<uint8_t> &bytes)
    {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    }
    static std::vector<uint8_t> readFile(const stdfs::path &path) { return tamo::fs::readWholeFile(path); }
    static struct stat statusOf(const stdfs::path &path)
    {
        struct stat status {};
        EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
        return status;
    }
    size_t filesInFolder() const
    {
        return size_t(std::distance(stdfs::directory_iterator(folder.path), stdfs::directory_iterator()));
    }
    static void failSteps(std::vector<SaveStep> failing, int error)
    {
        tamo::fs::SetSaveFaults([failing, error](SaveStep step) {
            return std::find(failing.begin(), failing.end(), step) != failing.end() ? error : 0;
        });
    }

    tamo::test::TempFolder folder;
    const stdfs::path rom = folder.path / "game.smc";
};

} // namespace

TEST_F(FileSavingTest, AHardLinkedRomSavedThroughEitherNameShowsTheSameBytesThroughBoth)
{
    const stdfs::path other = folder.path / "other.smc";
    writeFile(rom, {1, 2, 3, 4});
    stdfs::create_hard_link(rom, other);
    RomImage(std::vector<uint8_t>{9, 8}).save(rom);
    EXPECT_EQ(readFile(other), (std::vector<uint8_t>{9, 8, 3, 4}));
    RomImage(std::vector<uint8_t>{7, 7, 7}).save(other);
    EXPECT_EQ(readFile(rom), (std::vector<uint8_t>{7, 7, 7, 4}));
    EXPECT_EQ(statusOf(rom).st_ino, statusOf(other).st_ino);
    EXPECT_EQ(filesInFolder(), 2u);
}

TEST_F(FileSavingTest, ASaveKeepsOwnerGroupModeAndExtendedAttributes)
{
    writeFile(rom, pattern(1000, 1));
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(rom.c_str(), 12345, 23456), 0);
    }
    ASSERT_EQ(::chmod(rom.c_str(), 02640), 0);
    const bool attributes = ::setxattr(rom.c_str(), "user.tamo", "kept", 4, 0) == 0;

    RomImage(pattern(1000, 2)).save(rom);
    EXPECT_EQ(readFile(rom), pattern(1000, 2));
    const struct stat status = statusOf(rom);
    EXPECT_EQ(status.st_mode & 07777, 02640u);
    if (root) {
        EXPECT_EQ(status.st_uid, 12345u);
        EXPECT_EQ(status.st_gid, 23456u);
    }
    if (attributes) {
        char value[8] = {};
        const ssize_t got = ::getxattr(rom.c_str(), "user.tamo", value, sizeof value);
        EXPECT_EQ(std::string(value, size_t(std::max<ssize_t>(got, 0))), "kept");
    }
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(FileSavingTest, WhereTheCopyBesideCannotBeMadeOrKeepTheFileTheSaveWritesInPlace)
{
    // No space for a second copy of a 4 MiB ROM (it fails half written, as on a full
    // disk), no inode or a name too long, an owner or attribute the copy cannot be given,
    // a folder refusing the rename: each time the file keeps its inode and its bytes
    // beyond the image, and gets the image.
    const std::vector<std::pair<SaveStep, int>> refusals{
        {SaveStep::WriteCopy, ENOSPC}, {SaveStep::MakeCopy, ENAMETOOLONG}, {SaveStep::KeepOwner, EPERM},
        {SaveStep::KeepAttributes, ENOTSUP}, {SaveStep::Rename, EPERM}};
    for (const auto &[step, error] : refusals) {
        SCOPED_TRACE(int(step));
        const std::vector<uint8_t> old = pattern((4 << 20) + 3, 5);
        writeFile(rom, old);
        const ino_t inode = statusOf(rom).st_ino;
        failSteps({step}, error);
        std::vector<uint8_t> image = pattern(4 << 20, 6);
        RomImage(image).save(rom);
        image.insert(image.end(), old.end() - 3, old.end());
        EXPECT_TRUE(readFile(rom) == image);
        EXPECT_EQ(statusOf(rom).st_ino, inode);
        EXPECT_EQ(filesInFolder(), 1u);
    }
}

TEST_F(FileSavingTest, AFailedSaveLeavesNoCopyBesideAndNoHalfWrittenRom)
{
    const std::vector<uint8_t> old = pattern(5000, 1);
    writeFile(rom, old);
    // Neither a copy nor the file takes the bytes: half of them reach the file, whose own
    // bytes are then put back.
    failSteps({SaveStep::WriteCopy, SaveStep::WriteInPlace}, ENOSPC);
    try {
        RomImage(pattern(6000, 2)).save(rom);
        FAIL() << "the save must fail";
    } catch (const tamo::RomError &error) {
        EXPECT_NE(std::string(error.what()).find("game.smc: cannot be saved (No space left on device); the file "
                                                 "holds its earlier bytes again"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_EQ(readFile(rom), old);
    EXPECT_EQ(filesInFolder(), 1u);

    // A copy that reads back differently from what was written does not replace the file.
    failSteps({SaveStep::ReadBack}, EIO);
    EXPECT_THROW(RomImage(pattern(5000, 3)).save(rom), tamo::RomError);
    EXPECT_EQ(readFile(rom), old);
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(FileSavingTest, ASaveKilledBeforeItEndedLeavesTheRomIntactAndItsCopyIsRemovedAtTheNextOpen)
{
    const std::vector<uint8_t> old = pattern(100000, 1);
    writeFile(rom, old);
    writeFile(folder.path / "game.smc.saving-notes.txt", {1});
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The program dies with the copy written and flushed, just before the rename.
        tamo::fs::SetSaveFaults([](SaveStep step) { return step == SaveStep::Rename ? ::raise(SIGKILL) : 0; });
        RomImage(pattern(100000, 2)).save(rom);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(readFile(rom), old);
    ASSERT_EQ(filesInFolder(), 3u) << "the killed save left its copy";
    EXPECT_TRUE(tamo::fs::removeStaleSaveCopies(rom).empty());
    EXPECT_EQ(filesInFolder(), 2u) << "only what a save names so goes";
    EXPECT_TRUE(stdfs::exists(folder.path / "game.smc.saving-notes.txt"));
}

TEST_F(FileSavingTest, TheSettingsFileKeepsTheSymbolicLinkThatPointsToIt)
{
    stdfs::create_directory(folder.path / "real");
    const stdfs::path link = folder.path / "application.ini";
    stdfs::create_symlink("real/application.ini", link);
    for (const std::vector<uint8_t> &text : {std::vector<uint8_t>{'a'}, std::vector<uint8_t>{'b', 'c'}}) {
        tamo::fs::writeWholeFile(link, text);
        EXPECT_TRUE(stdfs::is_symlink(link));
        EXPECT_EQ(readFile(folder.path / "real" / "application.ini"), text);
    }
}

TEST_F(FileSavingTest, SavesLeftForALaterFlushStillReplaceTheirFilesWhole)
{
    // A flush that fails makes a save that flushes itself write in place, keeping the
    // inode; a save left for later asks for none, and its copy replaces the file.
    const stdfs::path text = folder.path / "stage.txt";
    writeFile(text, pattern(3000, 1));
    const ino_t inode = statusOf(text).st_ino;
    failSteps({SaveStep::FlushCopy}, EIO);
    tamo::fs::writeWholeFile(text, pattern(2000, 2));
    EXPECT_EQ(readFile(text), pattern(2000, 2));
    EXPECT_EQ(statusOf(text).st_ino, inode);

    tamo::fs::writeWholeFile(text, pattern(1000, 3), tamo::fs::Flush::Later);
    tamo::fs::writeWholeFile(folder.path / "new.txt", pattern(10, 4), tamo::fs::Flush::Later);
    tamo::fs::flushWrites(folder.path);
    EXPECT_EQ(readFile(text), pattern(1000, 3));
    EXPECT_NE(statusOf(text).st_ino, inode);
    EXPECT_EQ(readFile(folder.path / "new.txt"), pattern(10, 4));
    EXPECT_EQ(filesInFolder(), 2u);

    // Nor does a later save escape the read-back check.
    failSteps({SaveStep::ReadBack}, EIO);
    EXPECT_THROW(tamo::fs::writeWholeFile(text, pattern(500, 5), tamo::fs::Flush::Later), tamo::RomError);
    EXPECT_EQ(readFile(text), pattern(1000, 3));
    EXPECT_EQ(filesInFolder(), 2u);

    EXPECT_THROW(tamo::fs::flushWrites(folder.path / "missing"), tamo::RomError);
}
