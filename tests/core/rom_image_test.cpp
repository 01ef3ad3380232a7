#include "core/rom_error.h"
#include "core/rom_image.h"
#include "tests/support/test_rom.h"

#include <gtest/gtest.h>

using tamo::RomImage;
using tamo::test::CountingRom;
using tamo::RomRangeError;

TEST(RomImage, ReadsLittleEndianValues)
{
    const RomImage rom = CountingRom(8);
    EXPECT_EQ(rom.readByte(3, "t"), 3);
    EXPECT_EQ(rom.readWord(1, "t"), 0x0201);
    EXPECT_EQ(rom.readLong(1, "t"), 0x030201u);
    EXPECT_EQ(rom.readDword(4, "t"), 0x07060504u);
    EXPECT_EQ(rom.readWord(6, "t"), 0x0706);
}

TEST(RomImage, EveryReadOutsideTheImageIsAnErrorNamingIt)
{
    const RomImage rom = CountingRom(8);
    EXPECT_THROW(rom.readByte(8, "t"), RomRangeError);
    EXPECT_THROW(rom.readByte(-1, "t"), RomRangeError);
    EXPECT_THROW(rom.readWord(7, "t"), RomRangeError);
    EXPECT_THROW(rom.readLong(6, "t"), RomRangeError);
    EXPECT_THROW(rom.readDword(5, "t"), RomRangeError);
    EXPECT_THROW(rom.readDword(INT64_MAX - 1, "t"), RomRangeError);
    EXPECT_THROW(RomImage().readByte(0, "t"), RomRangeError);
    try {
        rom.readWord(0x3D8123, "Sprite list");
        FAIL();
    } catch (const RomRangeError &error) {
        const std::string text = error.what();
        EXPECT_NE(text.find("Sprite list"), std::string::npos) << text;
        EXPECT_NE(text.find("0x3D8123"), std::string::npos) << text;
        EXPECT_NE(text.find("8 bytes"), std::string::npos) << text;
    }
}

TEST(RomImage, WritesAllBytesOrNone)
{
    RomImage rom = CountingRom(8);
    rom.writeWord(2, 0x1ABCD, "t"); // cut to 16 bits
    EXPECT_EQ(rom.readWord(2, "t"), 0xABCD);
    rom.writeDword(4, 0xB2A1C000u, "t");
    EXPECT_EQ(rom.bytes()[4], 0x00);
    EXPECT_EQ(rom.bytes()[7], 0xB2);
    rom.writeByte(0, 300, "t");
    EXPECT_EQ(rom.bytes()[0], 44);

    const std::vector<uint8_t> before = rom.bytes();
    EXPECT_THROW(rom.writeDword(6, 0xFFFFFFFF, "t"), RomRangeError);
    EXPECT_THROW(rom.writeWord(-1, 0xFFFF, "t"), RomRangeError);
    EXPECT_THROW(rom.writeByte(8, 0xFF, "t"), RomRangeError);
    EXPECT_EQ(rom.bytes(), before);
}

TEST(RomImage, ContainsHandlesEdgesAndOverflow)
{
    const RomImage rom = CountingRom(8);
    EXPECT_TRUE(rom.contains(0, 8));
    EXPECT_TRUE(rom.contains(8, 0));
    EXPECT_FALSE(rom.contains(8, 1));
    EXPECT_FALSE(rom.contains(-4, 2));
    EXPECT_FALSE(rom.contains(1, INT64_MAX));
    EXPECT_FALSE(rom.contains(2, -1));
}

TEST(RomImage, AnOffsetBeyond32BitsIsNamedInFull)
{
    // The FG entry of stage 0x7FFFFFFF: 0x39801E + 2 * 0x7FFFFFFF. Cut to 32 bits it would
    // read 0x39801C, an offset inside a 4 MiB image.
    const RomImage rom = CountingRom(0x400000);
    for (const auto &[offset, shown] : {std::pair<int64_t, std::string>{0x39801E + 2 * int64_t(INT32_MAX), "0x10039801C"},
                                        {-0x10000000A, "-0x10000000A"}}) {
        try {
            rom.readWord(offset, "FG table");
            FAIL() << shown;
        } catch (const RomRangeError &error) {
            EXPECT_NE(std::string(error.what()).find("offset " + shown + " "), std::string::npos) << error.what();
        }
    }
}
