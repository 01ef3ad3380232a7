#include "core/object_lists.h"
#include "core/rom_error.h"
#include "core/rom_image.h"

#include "tests/support/test_rom.h"

#include <gtest/gtest.h>

using namespace tamo;
using tamo::test::TestRom;

TEST(SpriteList, RunsToTheFirstRecordWithParamZero)
{
    TestRom rom;
    const int at = 0x2100;
    rom.word(at, 1);
    rom.word(at + 2, 64);
    rom.word(at + 4, 0);
    rom.word(at + 6, 0x00AB);
    rom.word(at + 8, 0x0012);
    rom.word(at + 14, 0x9055);
    rom.word(at + 16, 0); // terminator
    rom.word(at + 24, 7); // never listed
    const std::vector<SpriteRecord> list = ReadSpriteList(rom.image(), at);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Param, 1);
    EXPECT_EQ(list[0].X, 64);
    EXPECT_EQ(list[0].Type, 0x00AB);
    EXPECT_EQ(list[1].Param, 0x12);
    EXPECT_EQ(list[1].Type, 0x9055);

    EXPECT_TRUE(ReadSpriteList(rom.image(), at + 16).empty());
}

TEST(CameraList, EitherFieldAtFFFFEndsTheList)
{
    TestRom rom;
    const int block = 0x100C;
    rom.word(block, 0x1111); // the block's first words are no camera
    rom.word(block + 8, 10);
    rom.word(block + 10, 20);
    rom.word(block + 12, 0xFFFF);
    rom.word(block + 14, 5);
    rom.word(block + 16, 30);
    EXPECT_EQ(ReadCameraList(rom.image(), block).size(), 1u);

    rom.word(block + 12, 5);
    rom.word(block + 14, 0xFFFF);
    EXPECT_EQ(ReadCameraList(rom.image(), block).size(), 1u);

    rom.word(block + 8, 0xFFFF);
    EXPECT_TRUE(ReadCameraList(rom.image(), block).empty());
}

TEST(BananaList, GroupZeroEndsTheListAndYComesBeforeX)
{
    TestRom rom;
    const int at = 0x1540;
    rom.bytes[at] = 2;
    rom.bytes[at + 1] = 44;
    rom.word(at + 2, 0x1234);
    rom.bytes[at + 4] = 0;
    rom.bytes[at + 5] = 9;
    const std::vector<BananaRecord> list = ReadBananaList(rom.image(), at);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Group, 2);
    EXPECT_EQ(list[0].Y, 44);
    EXPECT_EQ(list[0].X, 0x1234);
}

TEST(ObjectLists, ListsWithoutTerminatorEndAtTheImageEnd)
{
    std::vector<uint8_t> bytes(21, 0x01); // two whole sprite records, then 5 stray bytes
    const RomImage rom(bytes);
    EXPECT_EQ(ReadSpriteList(rom, 0).size(), 2u);
    EXPECT_EQ(ReadBananaList(rom, 0).size(), 5u);
    EXPECT_EQ(ReadCameraList(rom, 0).size(), 3u);
    EXPECT_TRUE(ReadSpriteList(rom, -8).empty());
    EXPECT_TRUE(ReadSpriteList(rom, 1 << 30).empty());
    EXPECT_TRUE(ReadCameraList(RomImage(), 0).empty());
}

TEST(ObjectLists, WritesCutValuesToTheFieldWidths)
{
    TestRom rom;
    RomImage image = rom.image();
    WriteSpriteRecord(image, 0x2100, 1, {-1, 70000, 300, 0x9055});
    EXPECT_EQ(image.readWord(0x2108, "t"), 0xFFFF);
    EXPECT_EQ(image.readWord(0x210A, "t"), 0x1170);
    EXPECT_EQ(image.readWord(0x210C, "t"), 300);
    EXPECT_EQ(image.readWord(0x210E, "t"), 0x9055);

    WriteCameraRecord(image, 0x100C, 0, {-1, 70000});
    EXPECT_EQ(image.readWord(0x1014, "t"), 0xFFFF);
    EXPECT_EQ(image.readWord(0x1016, "t"), 0x1170);

    WriteBananaRecord(image, 0x1540, 2, {0x102, 300, 70000});
    EXPECT_EQ(image.readByte(0x1548, "t"), 0x02);
    EXPECT_EQ(image.readByte(0x1549, "t"), 0x2C);
    EXPECT_EQ(image.readWord(0x154A, "t"), 0x1170);
}

TEST(ObjectLists, WritesTouchOnlyTheirRecord)
{
    TestRom rom;
    for (size_t i = 0; i < rom.bytes.size(); ++i)
        rom.bytes[i] = static_cast<uint8_t>(i * 7);
    RomImage image = rom.image();
    WriteSpriteRecord(image, 0x2100, 2, {1, 2, 3, 4});
    WriteCameraRecord(image, 0x100C, 3, {5, 6});
    WriteBananaRecord(image, 0x1540, 1, {7, 8, 9});
    for (size_t i = 0; i < rom.bytes.size(); ++i) {
        const bool inSprite = i >= 0x2110 && i < 0x2118;
        const bool inCamera = i >= 0x100C + 8 + 12 && i < 0x100C + 8 + 16;
        const bool inBanana = i >= 0x1544 && i < 0x1548;
        if (!inSprite && !inCamera && !inBanana) {
            ASSERT_EQ(image.bytes()[i], rom.bytes[i]) << "byte " << i;
        }
    }
}

TEST(ObjectLists, WritingBackWhatWasReadChangesNoByte)
{
    TestRom rom;
    for (size_t i = 0; i < rom.bytes.size(); ++i)
        rom.bytes[i] = static_cast<uint8_t>((i * 37) | 1); // no terminators anywhere
    RomImage image = rom.image();
    const auto sprites = ReadSpriteList(image, 0x2100);
    const auto cameras = ReadCameraList(image, 0x1000);
    const auto bananas = ReadBananaList(image, 0x1500);
    ASSERT_FALSE(sprites.empty());
    for (size_t i = 0; i < sprites.size(); ++i)
        WriteSpriteRecord(image, 0x2100, int(i), sprites[i]);
    for (size_t i = 0; i < cameras.size(); ++i)
        WriteCameraRecord(image, 0x1000, int(i), cameras[i]);
    for (size_t i = 0; i < bananas.size(); ++i)
        WriteBananaRecord(image, 0x1500, int(i), bananas[i]);
    EXPECT_EQ(image.bytes(), rom.bytes);
}

TEST(ObjectLists, WritesOutsideTheImageChangeNothing)
{
    RomImage image(std::vector<uint8_t>(20, 0xAA));
    const std::vector<uint8_t> before = image.bytes();
    EXPECT_THROW(WriteSpriteRecord(image, 0, 2, {1, 1, 1, 1}), RomRangeError); // bytes 16..23
    EXPECT_THROW(WriteCameraRecord(image, 10, 0, {1, 1}), RomRangeError);      // bytes 18..21
    EXPECT_THROW(WriteBananaRecord(image, -4, 0, {1, 1, 1}), RomRangeError);
    EXPECT_EQ(image.bytes(), before);
}
