#include "core/rom_error.h"
#include "tests/document/document_test_support.h"

#include <QUndoStack>

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

class DiskFileStateTest : public DocumentFileTest
{
protected:
    DiskFileStateTest() { document.open(fileName()); }

    DiskFileState::Check check(bool thorough) { return document.disk().check(romPath(), thorough); }

    RomDocument document;
};

bool same(const DiskFileState::Check &a, const DiskFileState::Check &b)
{
    return a.missing == b.missing && a.otherFile == b.otherFile && a.otherBytes == b.otherBytes;
}

} // namespace

TEST_F(DiskFileStateTest, WritesByOtherProgramsAndOtherFilesInThePlaceAreSeen)
{
    const DiskFileState::Check nothing{}, written{false, false, true}, replaced{false, true, false};
    EXPECT_TRUE(same(check(false), nothing));
    EXPECT_TRUE(same(check(true), nothing));

    // Only touched: the bytes are the same.
    ASSERT_EQ(::utimensat(AT_FDCWD, romPath().c_str(), nullptr, 0), 0);
    EXPECT_TRUE(same(check(false), nothing));

    std::vector<uint8_t> other = counting(64);
    other[5] = 0x55;
    writeFile(other);
    EXPECT_TRUE(same(check(false), written));
    EXPECT_TRUE(document.disk().hasNewChange(romPath()));
    EXPECT_FALSE(document.disk().hasNewChange(romPath())) << "told once";

    // The same bytes as opened, but in another file put in its place.
    const std::filesystem::path copy = folder.path / "copy.smc";
    std::filesystem::copy_file(romPath(), copy);
    writeFile(counting(64));
    std::filesystem::rename(copy, romPath());
    writeFile(counting(64));
    EXPECT_TRUE(same(check(false), replaced));

    std::filesystem::remove(romPath());
    EXPECT_TRUE(check(true).missing);
}

TEST_F(DiskFileStateTest, AReloadIsOneStepAfterWhichTheImageIsSaved)
{
    document.edit(byteEdit(1, 0xA1));
    std::vector<uint8_t> other = counting(64);
    other[40] = 0x40;
    other.push_back(0xFF); // the file grew: the image keeps its size
    writeFile(other);

    document.reload(9);
    other.pop_back();
    EXPECT_EQ(document.image().bytes(), other);
    EXPECT_FALSE(document.isModified());
    EXPECT_TRUE(same(check(true), {}));
    EXPECT_EQ(document.history()->count(), 2);

    document.history()->undo();
    std::vector<uint8_t> edited = counting(64);
    edited[1] = 0xA1;
    EXPECT_EQ(document.image().bytes(), edited);
    EXPECT_TRUE(document.isModified());

    writeFile({1, 2, 3});
    EXPECT_THROW(document.reload(9), tamo::RomError) << "fewer bytes than the image";
}
