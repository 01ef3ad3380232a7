#include "core/file_system.h"
#include "core/rom_error.h"
#include "core/rom_image.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stdfs = std::filesystem;
using tamo::RomError;
using tamo::RomImage;

namespace {

void writeFile(const stdfs::path &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
}

std::vector<uint8_t> readFile(const stdfs::path &path)
{
    return tamo::fs::readWholeFile(path);
}

size_t filesIn(const stdfs::path &folder)
{
    return static_cast<size_t>(std::distance(stdfs::directory_iterator(folder), stdfs::directory_iterator()));
}

// A file under so many long folder names that its full path is longer than the system takes
// in one call; made and removed folder by folder, each reached from the one above.
class DeepFile
{
public:
    explicit DeepFile(const stdfs::path &base)
    {
        const std::string name(250, 'd');
        m_folders.push_back(::open(base.c_str(), O_RDONLY | O_DIRECTORY));
        path = base;
        for (int level = 0; level < 20; ++level) {
            ::mkdirat(m_folders.back(), name.c_str(), 0700);
            m_folders.push_back(::openat(m_folders.back(), name.c_str(), O_RDONLY | O_DIRECTORY));
            path /= name;
        }
        const int file = ::openat(m_folders.back(), "game.smc", O_WRONLY | O_CREAT, 0600);
        made = file >= 0;
        ::close(file);
        path /= "game.smc";
    }
    ~DeepFile()
    {
        ::unlinkat(m_folders.back(), "game.smc", 0);
        const std::string name(250, 'd');
        for (size_t level = m_folders.size() - 1; level > 0; --level) {
            ::close(m_folders[level]);
            ::unlinkat(m_folders[level - 1], name.c_str(), AT_REMOVEDIR);
        }
        ::close(m_folders.front());
    }

    stdfs::path path;
    bool made = false;

private:
    std::vector<int> m_folders;
};

} // namespace

TEST(RomFile, OpenReadsTheWholeFileWithoutSkippingAHeader)
{
    const tamo::test::TempFolder folder;
    const std::vector<uint8_t> bytes = {1, 2, 3, 4, 5};
    writeFile(folder.path / "game.smc", bytes);
    const RomImage rom = RomImage::open(folder.path / "game.smc");
    EXPECT_EQ(rom.bytes(), bytes);
    EXPECT_EQ(rom.readByte(0, "t"), 1);

    writeFile(folder.path / "empty.smc", {});
    EXPECT_EQ(RomImage::open(folder.path / "empty.smc").size(), 0);
}

TEST(RomFile, OpeningAMissingFileIsAnErrorNamingIt)
{
    const tamo::test::TempFolder folder;
    try {
        RomImage::open(folder.path / "nothing.smc");
        FAIL();
    } catch (const RomError &error) {
        EXPECT_NE(std::string(error.what()).find("nothing.smc"), std::string::npos);
    }
    EXPECT_THROW(RomImage::open(folder.path), RomError) << "a folder is no ROM file";
}

TEST(RomFile, SaveWritesTheImageAtTheStartAndKeepsLaterBytes)
{
    const tamo::test::TempFolder folder;
    const stdfs::path path = folder.path / "game.smc";
    writeFile(path, {1, 2, 3, 4});
    RomImage rom = RomImage::open(path);
    rom.writeWord(1, 0xBBAA, "t");
    // The file has grown on disk since it was opened.
    writeFile(path, {9, 9, 9, 9, 7, 8});
    rom.save(path);
    EXPECT_EQ(readFile(path), (std::vector<uint8_t>{1, 0xAA, 0xBB, 4, 7, 8}));
    EXPECT_EQ(filesIn(folder.path), 1u) << "no copy may be left beside the file";
}

TEST(RomFile, SaveKeepsPermissionsAndSymbolicLinks)
{
    const tamo::test::TempFolder folder;
    const stdfs::path real = folder.path / "real.smc";
    writeFile(real, {0, 0});
    stdfs::permissions(real, stdfs::perms::owner_read | stdfs::perms::owner_write | stdfs::perms::group_read);
    stdfs::create_symlink(real, folder.path / "link.smc");

    RomImage rom(std::vector<uint8_t>{5, 6});
    rom.save(folder.path / "link.smc");
    EXPECT_TRUE(stdfs::is_symlink(folder.path / "link.smc"));
    EXPECT_EQ(readFile(real), (std::vector<uint8_t>{5, 6}));
    EXPECT_EQ(stdfs::status(real).permissions(),
              stdfs::perms::owner_read | stdfs::perms::owner_write | stdfs::perms::group_read);
}

TEST(RomFile, SaveFailsWithoutTouchingAnythingWhenTheFileIsGoneOrProtected)
{
    const tamo::test::TempFolder folder;
    const RomImage rom(std::vector<uint8_t>{5, 6, 7});

    EXPECT_THROW(rom.save(folder.path / "removed.smc"), RomError);
    EXPECT_FALSE(stdfs::exists(folder.path / "removed.smc")) << "save must not create the file";

    const stdfs::path locked = folder.path / "locked.smc";
    writeFile(locked, {1, 2, 3});
    stdfs::permissions(locked, stdfs::perms::owner_read);
    try {
        rom.save(locked);
        FAIL() << "a write-protected file must not be saved";
    } catch (const RomError &error) {
        EXPECT_NE(std::string(error.what()).find("locked.smc"), std::string::npos);
    }
    EXPECT_EQ(readFile(locked), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(filesIn(folder.path), 1u);
}

TEST(RomFile, APathTheSystemCannotTakeIsReportedInTheSystemsWords)
{
    const tamo::test::TempFolder folder;
    const DeepFile deep(folder.path);
    ASSERT_TRUE(deep.made);
    ASSERT_GT(deep.path.native().size(), size_t(PATH_MAX));
    try {
        RomImage::open(deep.path);
        FAIL() << "a path longer than PATH_MAX cannot be opened";
    } catch (const RomError &error) {
        const std::string text = error.what();
        EXPECT_NE(text.find(std::strerror(ENAMETOOLONG)), std::string::npos) << text;
        EXPECT_EQ(text.find("does not exist"), std::string::npos) << "the file is there";
    }
}

// Only a regular file is read, and only up to the limit; a link, a folder, a pipe with no
// writer and an endless device are found but neither waited on nor read.
TEST(OwnFile, OnlyARegularFileWithinTheLimitIsRead)
{
    const tamo::test::TempFolder folder;
    const stdfs::path file = folder.path / "journal";
    writeFile(file, {1, 2, 3, 4});
    const tamo::fs::OwnFileRead whole = tamo::fs::readOwnFile(file, 4);
    EXPECT_TRUE(whole.found);
    EXPECT_EQ(whole.bytes, (std::vector<uint8_t>{1, 2, 3, 4}));
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(whole.modifiedNs, int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec);
    const tamo::fs::OwnFileRead larger = tamo::fs::readOwnFile(file, 3);
    EXPECT_TRUE(larger.found);
    EXPECT_FALSE(larger.bytes);

    const stdfs::path pipe = folder.path / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    stdfs::create_directory(folder.path / "folder");
    stdfs::create_symlink(file, folder.path / "link");
    stdfs::create_symlink(pipe, folder.path / "link to pipe");
    stdfs::create_symlink("/dev/zero", folder.path / "link to zero");
    for (const char *name : {"pipe", "folder", "link", "link to pipe", "link to zero"}) {
        const tamo::fs::OwnFileRead read = tamo::fs::readOwnFile(folder.path / name, 1 << 20);
        EXPECT_TRUE(read.found) << name;
        EXPECT_FALSE(read.bytes) << name;
    }
    for (const stdfs::path &missing : {folder.path / "missing", file / "below a file"})
        EXPECT_FALSE(tamo::fs::readOwnFile(missing, 1 << 20).found) << missing;
}
