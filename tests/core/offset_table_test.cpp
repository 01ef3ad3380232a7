#include "core/ini_file.h"
#include "core/offset_table.h"

#include <gtest/gtest.h>

using tamo::IniFile;
using tamo::LoadOffsetTable;

TEST(OffsetTable, MissingFileGivesTheBuiltInDefaults)
{
    const tamo::OffsetTable table = LoadOffsetTable(IniFile());
    EXPECT_EQ(table.LevelFunc, 0x00C589);
    EXPECT_EQ(table.TileMap, 0x018B94);
    EXPECT_EQ(table.Banana, 0x38B335);
    EXPECT_EQ(table.FG, 0x39801E);
    EXPECT_EQ(table.BG, 0x3981EA);
    EXPECT_EQ(table.Music, 0x3983B6);
    EXPECT_EQ(table.Darkness, 0x39D839);
    EXPECT_EQ(table.Camera, 0x3C8000);
    EXPECT_EQ(table.StartPoint, 0x3CB527);
    EXPECT_EQ(table.Sprite, 0x3D8000);
    EXPECT_EQ(table.StartAction, 0x3FFD9F);
    EXPECT_EQ(table.BaseCamera, 0x3C0000);
    EXPECT_EQ(table.BaseSprite, 0x3D0000);
    EXPECT_EQ(table.Banana2, 0x38BFF9);
}

TEST(OffsetTable, ValuesInEverySyntaxAndBadValuesFallBack)
{
    for (const char *text : {"$38BFF9", "0x38bff9", "3719161"}) {
        const IniFile ini = IniFile::parse(std::string("[Offset]\nBanana2=") + text + "\n");
        EXPECT_EQ(LoadOffsetTable(ini).Banana2, 0x38BFF9) << text;
    }
    const IniFile ini = IniFile::parse("[offset]\nbanana2=0x\nTileMap=garbage\nfg=-2\nCamera=$10\n");
    const tamo::OffsetTable table = LoadOffsetTable(ini);
    EXPECT_EQ(table.Banana2, 0x38BFF9);
    EXPECT_EQ(table.TileMap, 0x018B94);
    EXPECT_EQ(table.FG, -2);
    EXPECT_EQ(table.Camera, 0x10);
    EXPECT_EQ(table.Sprite, 0x3D8000);
}
