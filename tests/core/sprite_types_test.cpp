#include "core/ini_file.h"
#include "core/list_lines.h"
#include "core/object_lists.h"
#include "core/sprite_types.h"

#include <gtest/gtest.h>

using namespace tamo;

TEST(SpriteTypes, BuiltFromNumericSectionsAndKeysInFileOrder)
{
    const IniFile ini = IniFile::parse("[0x0001]\n0x9055=Red walker\nnotanumber=Skipped\n0x9060=\n$10=Short\n"
                                       "[Comments]\n0x1234=Skipped too\n"
                                       "[$2]\n36949=Decimal key\n"
                                       "[0x0001]\n0x9055=Listed twice\n");
    const SpriteTypeList types = LoadSpriteTypes(ini);
    ASSERT_EQ(types.size(), 3u);
    EXPECT_EQ(types[0].value, 0x00019055u);
    EXPECT_EQ(types[0].lineText, "0001-9055:Red walker");
    EXPECT_EQ(types[1].lineText, "0001-0010:Short");
    EXPECT_EQ(types[2].param(), 2);
    EXPECT_EQ(types[2].type(), 36949);
    EXPECT_EQ(types[2].lineText, "0002-9055:Decimal key");
}

TEST(SpriteTypes, FindTakesTheFirstEntryWithBothHalves)
{
    const IniFile ini = IniFile::parse("[1]\n0x9055=A\n[0x0001]\n$9055=B\n[2]\n0x9055=C\n");
    const SpriteTypeList types = LoadSpriteTypes(ini);
    EXPECT_EQ(FindSpriteType(types, 1, 0x9055), 0);
    EXPECT_EQ(FindSpriteType(types, 2, 0x9055), 2);
    EXPECT_EQ(FindSpriteType(types, 3, 0x9055), -1);
    EXPECT_EQ(FindSpriteType({}, 1, 1), -1);
}

TEST(SpriteTypes, NamesAreLookedUpOnlyInTheFourDigitForm)
{
    const IniFile ini = IniFile::parse("[0x0001]\n0x9055=Red walker\n[$2]\n0x9055=Dollar section\n");
    EXPECT_EQ(SpriteTypeName(ini, 1, 0x9055), "Red walker");
    EXPECT_EQ(SpriteTypeName(ini, 2, 0x9055), "");
    EXPECT_EQ(SpriteTypeName(IniFile(), 1, 0x9055), "");
}

TEST(ListLines, ExactFormats)
{
    EXPECT_EQ(SpriteLineText(0, {1, 10, 20, 0x9055}, ""), "0:0001-9055:");
    EXPECT_EQ(SpriteLineText(12, {0x1A, 10, 20, 0xAB}, "Spring"), "12:001A-00AB:Spring");
    EXPECT_EQ(CameraLineText(3, {256, 65534}), "3:X=256,Y=65534");
    // The banana line puts X before Y.
    EXPECT_EQ(BananaLineText(1, {0x0A, 44, 1000}), "1:G=0A,X=1000,Y=44");
    EXPECT_EQ(CodeText(0x9055, 4), "0x9055");
    EXPECT_EQ(CodeText(2, 2), "0x02");
    EXPECT_EQ(OffsetText(0x100C), "00100C");
    EXPECT_EQ(OffsetText(0x3D8123), "3D8123");
    EXPECT_EQ(OffsetText(0x1234567), "1234567");
}
