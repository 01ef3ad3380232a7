#include "core/ini_file.h"
#include "core/name_lists.h"

#include <gtest/gtest.h>

using namespace tamo;

TEST(LevelNames, ItemsUseTwoDigitHexKeys)
{
    const IniFile ini = IniFile::parse("[Level name]\n0C=Meadow\nE5=Last\n");
    EXPECT_EQ(LevelItemText(ini, 12), "0C:Meadow");
    EXPECT_EQ(LevelItemText(ini, 229), "E5:Last");
    EXPECT_EQ(LevelItemText(ini, 0), "00:");
    EXPECT_EQ(LevelName(ini, 1), "");
    EXPECT_EQ(LevelItemText(IniFile(), 42), "2A:");
}

TEST(NameLists, ValuesRunToTheFirstGapZeroOrBadValue)
{
    const IniFile ini = IniFile::parse("[FG list]\n0=0x1A\n1=$2B\n3=0x3C\n"
                                       "[FG name]\n001A=Meadow\n002B=Cave\n003C=Never\n"
                                       "[BG list]\n0=5\n1=0\n2=6\n"
                                       "[Music list]\n1=5\n"
                                       "[Function list]\n0=0x1C0A1\n1=-1\n2=abc\n3=4\n"
                                       "[Function name]\n1C0A1=Wide\nFFFFFFFF=Minus one\n");
    const NameList fg = LoadNameList(ini, FGNameList);
    ASSERT_EQ(fg.size(), 2u);
    EXPECT_EQ(fg[0].value, 0x1A);
    EXPECT_EQ(fg[0].itemText, "001A:Meadow");
    EXPECT_EQ(fg[1].itemText, "002B:Cave");

    const NameList bg = LoadNameList(ini, BGNameList);
    ASSERT_EQ(bg.size(), 1u);
    EXPECT_EQ(bg[0].itemText, "0005:") << "a value without a name still gets an item";

    EXPECT_TRUE(LoadNameList(ini, MusicNameList).empty()) << "key 0 missing";
    EXPECT_TRUE(LoadNameList(ini, StartActionNameList).empty()) << "section missing";

    const NameList func = LoadNameList(ini, FunctionNameList);
    ASSERT_EQ(func.size(), 2u);
    EXPECT_EQ(func[0].itemText, "1C0A1:Wide");
    EXPECT_EQ(func[1].value, -1);
    EXPECT_EQ(func[1].itemText, "FFFFFFFF:Minus one");
}

TEST(NameLists, FindValueIndexGivesTheFirstMatch)
{
    const IniFile ini = IniFile::parse("[FG list]\n0=7\n1=9\n2=7\n");
    const NameList list = LoadNameList(ini, FGNameList);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(FindValueIndex(list, 7), 0);
    EXPECT_EQ(FindValueIndex(list, 9), 1);
    EXPECT_EQ(FindValueIndex(list, 8), -1);
    EXPECT_EQ(FindValueIndex({}, 7), -1);
}
