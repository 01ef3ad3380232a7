#include "core/file_system.h"
#include "core/rom_error.h"
#include "core/rom_image.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace stdfs = std::filesystem;
using tamo::RomError;
using tamo::RomImage;
using tamo::fs::SaveStep;

namespace {

// Saves into a folder of their own, with the system's answers to the steps of a save
// made to fail where a test says so.
class FileSavingTest : public ::testing::Test
{
protected:
    ~FileSavingTest() override { tamo::fs::SetSaveFaults({}); }

    void writeFile(const stdfs::path &path, const std::vector<uint8_t> &bytes) const
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
    std::vector<std::string> namesInFolder() const
    {
        std::vector<std::string> names;
        for (const auto &entry : stdfs::directory_iterator(folder.path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Every step in failing fails once with error; the others run.
    static void failSteps(std::vector<SaveStep> failing, int error)
    {
        tamo::fs::SetSaveFaults([failing, error](SaveStep step) {
            return std::find(failing.begin(), failing.end(), step) != failing.end() ? error : 0;
        });
    }
    static std::vector<uint8_t> pattern(size_t size, uint8_t seed)
    {
        std::vector<uint8_t> bytes(size);
        for (size_t i = 0; i < size; ++i)
            bytes[i] = uint8_t(i * 31 + seed + i / 251);
        return bytes;
    }

    tamo::test::TempFolder folder;
    const stdfs::path rom = folder.path / "game.smc";
};

} // namespace

TEST_F(FileSavingTest, AHardLinkedRomSavedThroughEitherNameShowsTheSameBytesThroughBoth)
{
    const stdfs::path other = folder.path / "other name.smc";
    writeFile(rom, {1, 2, 3, 4});
    stdfs::create_hard_link(rom, other);
    const ino_t inode = statusOf(rom).st_ino;

    RomImage(std::vector<uint8_t>{9, 8}).save(rom);
    EXPECT_EQ(readFile(other), (std::vector<uint8_t>{9, 8, 3, 4}));
    RomImage(std::vector<uint8_t>{7, 7, 7}).save(other);
    EXPECT_EQ(readFile(rom), (std::vector<uint8_t>{7, 7, 7, 4}));
    EXPECT_EQ(statusOf(rom).st_ino, inode);
    EXPECT_EQ(statusOf(rom).st_nlink, 2u);
    EXPECT_EQ(namesInFolder(), (std::vector<std::string>{"game.smc", "other name.smc"}));
}

TEST_F(FileSavingTest, ASaveKeepsOwnerGroupModeAndExtendedAttributes)
{
    writeFile(rom, pattern(1000, 1));
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(rom.c_str(), 12345, 23456), 0);
    }
    ASSERT_EQ(::chmod(rom.c_str(), 02640), 0);
    const std::string note = "kept with the file";
    const bool attributes = ::setxattr(rom.c_str(), "user.tamo.note", note.data(), note.size(), 0) == 0;

    RomImage(pattern(1000, 2)).save(rom);
    EXPECT_EQ(readFile(rom), pattern(1000, 2));
    const struct stat status = statusOf(rom);
    EXPECT_EQ(status.st_mode & 07777, 02640u);
    if (root) {
        EXPECT_EQ(status.st_uid, 12345u);
        EXPECT_EQ(status.st_gid, 23456u);
    }
    if (attributes) {
        char value[64] = {};
        EXPECT_EQ(::getxattr(rom.c_str(), "user.tamo.note", value, sizeof value), ssize_t(note.size()));
        EXPECT_EQ(std::string(value), note);
    }
    EXPECT_EQ(namesInFolder(), std::vector<std::string>{"game.smc"});
}

TEST_F(FileSavingTest, WhereTheCopyBesideCannotBeMadeOrKeepTheFileTheSaveWritesInPlace)
{
    // No space for a second copy (it fails half written, as on a full disk), no inode or
    // a name too long, an owner or attribute the copy cannot be given, a folder refusing
    // the rename: each time the file keeps its inode and gets exactly the new bytes.
    const std::vector<std::pair<SaveStep, int>> refusals{
        {SaveStep::WriteCopy, ENOSPC}, {SaveStep::MakeCopy, ENOSPC}, {SaveStep::MakeCopy, ENAMETOOLONG},
        {SaveStep::KeepOwner, EPERM},  {SaveStep::KeepAttributes, ENOTSUP}, {SaveStep::Rename, EPERM}};
    constexpr size_t romSize = 4 << 20;
    for (const auto &[step, error] : refusals) {
        SCOPED_TRACE(int(step));
        std::vector<uint8_t> old = pattern(romSize + 3, 5);
        writeFile(rom, old);
        const ino_t inode = statusOf(rom).st_ino;
        failSteps({step}, error);
        RomImage(pattern(romSize, 6)).save(rom);
        std::vector<uint8_t> expected = pattern(romSize, 6);
        expected.insert(expected.end(), old.end() - 3, old.end());
        EXPECT_TRUE(readFile(rom) == expected);
        EXPECT_EQ(statusOf(rom).st_ino, inode);
        EXPECT_EQ(namesInFolder(), std::vector<std::string>{"game.smc"});
    }
}

TEST_F(FileSavingTest, AFailedSaveLeavesNoCopyBesideAndNoHalfWrittenRom)
{
    const std::vector<uint8_t> old = pattern(5000, 1);
    writeFile(rom, old);

    // Neither a copy nor the file itself takes the bytes: half of them reach the file,
    // and the file's own bytes are put back.
    failSteps({SaveStep::WriteCopy, SaveStep::WriteInPlace}, ENOSPC);
    try {
        RomImage(pattern(6000, 2)).save(rom);
        FAIL() << "the save must fail";
    } catch (const RomError &error) {
        const std::string text = error.what();
        EXPECT_NE(text.find("game.smc"), std::string::npos) << text;
        EXPECT_NE(text.find("earlier bytes again"), std::string::npos) << text;
    }
    EXPECT_EQ(readFile(rom), old);
    EXPECT_EQ(namesInFolder(), std::vector<std::string>{"game.smc"});

    // The copy reads back differently from what was written: the file is not replaced.
    failSteps({SaveStep::ReadBack}, EIO);
    EXPECT_THROW(RomImage(pattern(5000, 3)).save(rom), RomError);
    EXPECT_EQ(readFile(rom), old);
    EXPECT_EQ(namesInFolder(), std::vector<std::string>{"game.smc"});

    // Written in place, the file reads back differently: that is an error too.
    failSteps({SaveStep::MakeCopy, SaveStep::ReadBack}, EIO);
    EXPECT_THROW(RomImage(pattern(5000, 3)).save(rom), RomError);
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
        tamo::fs::SetSaveFaults([](SaveStep step) {
            if (step == SaveStep::Rename)
                ::raise(SIGKILL);
            return 0;
        });
        RomImage(pattern(100000, 2)).save(rom);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(readFile(rom), old);
    ASSERT_EQ(namesInFolder().size(), 3u) << "the killed save left its copy";

    EXPECT_TRUE(tamo::fs::removeStaleSaveCopies(rom).empty());
    EXPECT_EQ(namesInFolder(), (std::vector<std::string>{"game.smc", "game.smc.saving-notes.txt"}))
        << "only what a save names so goes";
}

TEST_F(FileSavingTest, TheSettingsFileKeepsTheSymbolicLinkThatPointsToIt)
{
    stdfs::create_directory(folder.path / "real");
    const stdfs::path real = folder.path / "real" / "application.ini";
    const stdfs::path link = folder.path / "application.ini";
    stdfs::create_symlink("real/application.ini", link);
    // A link to a file not yet there makes the file.
    tamo::fs::writeWholeFile(link, std::vector<uint8_t>{'a'});
    EXPECT_TRUE(stdfs::is_symlink(link));
    EXPECT_EQ(readFile(real), std::vector<uint8_t>{'a'});
    tamo::fs::writeWholeFile(link, std::vector<uint8_t>{'b', 'c'});
    EXPECT_TRUE(stdfs::is_symlink(link));
    EXPECT_EQ(readFile(real), (std::vector<uint8_t>{'b', 'c'}));
}
