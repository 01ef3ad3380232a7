#include "core/ini_file.h"
#include "core/rom_error.h"
#include "core/stage.h"

#include "tests/support/test_rom.h"

#include <gtest/gtest.h>

using tamo::IniFile;
using tamo::Stage;
using tamo::test::TestRom;

namespace {

// Stage n of a small ROM: FG word, tile map pointer, camera block, sprite list, start point.
struct StageFixture : ::testing::Test
{
    TestRom rom;
    IniFile ini = IniFile::parse("[FG Tilemap]\n03=12\n100=5\n1A=7\n[Screen mode]\n12=0\n5=1\n7=2\n");

    void setStage(int level, uint16_t fgWord, uint16_t cameraPointer, uint16_t tilemapStart,
                  uint16_t tilemapEnd)
    {
        rom.word(rom.offsets.FG + 2 * level, fgWord);
        rom.word(rom.offsets.Camera + 2 * level, cameraPointer);
        const int block = cameraPointer + rom.offsets.BaseCamera - 4;
        rom.word(block, tilemapStart);
        rom.word(block + 2, tilemapEnd);
    }

    Stage decode(int level, const Stage &previous = {})
    {
        const tamo::RomImage image = rom.image();
        return tamo::DecodeStage({image, rom.offsets, ini}, level, previous);
    }
};

} // namespace

TEST_F(StageFixture, ReadsEveryTableAtTheStageStride)
{
    for (int level : {0, 3}) {
        setStage(level, 0x0003, 0x0010 + level * 0x40, 0x0130, 0x0E00);
        rom.long24(rom.offsets.TileMap + 3 * 12, 0xC12345);
        rom.word(rom.offsets.Sprite + 2 * level, 0x0200 + level);
        rom.word(rom.offsets.StartPoint + 4 * level, 100 + level);
        rom.word(rom.offsets.StartPoint + 4 * level + 2, 200 + level);

        const Stage stage = decode(level);
        EXPECT_EQ(stage.LevelNumber, level);
        EXPECT_EQ(stage.FGWord, 0x0003);
        EXPECT_EQ(stage.FGTilemap, 12);
        EXPECT_EQ(stage.TilemapOffset, 0x012345);
        EXPECT_EQ(stage.CameraBlockOffset, 0x1000 + 0x0010 + level * 0x40 - 4);
        EXPECT_EQ(stage.SpriteListOffset, 0x2000 + 0x0200 + level);
        EXPECT_EQ(stage.StartX, 100 + level);
        EXPECT_EQ(stage.StartY, 200 + level);
        EXPECT_EQ(stage.TilemapStart, 0x0130);
        EXPECT_EQ(stage.TilemapEnd, 0x0E00);
        EXPECT_EQ(stage.ScreenMode, 0);
        EXPECT_EQ(stage.firstColumn(), 9);
    }
}

TEST_F(StageFixture, FGWordIsLookedUpAsHexWithAtLeastTwoDigits)
{
    setStage(1, 0x0100, 0x0010, 0, 0);
    EXPECT_EQ(decode(1).FGTilemap, 5);
    setStage(1, 0x001A, 0x0010, 0, 0);
    EXPECT_EQ(decode(1).FGTilemap, 7);
    setStage(1, 0x0042, 0x0010, 0, 0);
    EXPECT_EQ(decode(1).FGTilemap, 0) << "an FG word missing from the data file gives tilemap 0";
}

TEST_F(StageFixture, TileMapPointerIsABankC0Address)
{
    setStage(0, 0x0003, 0x0010, 0, 0);
    rom.long24(rom.offsets.TileMap + 3 * 12, 0xFFFFFF);
    EXPECT_EQ(decode(0).TilemapOffset, 0x3FFFFF);
}

TEST_F(StageFixture, MapSizeFollowsTheScreenMode)
{
    setStage(0, 0x0003, 0x0010, 0, 0x0E00); // mode 0
    Stage stage = decode(0);
    EXPECT_EQ(stage.MapWidth, 120);
    EXPECT_EQ(stage.MapHeight, 16);

    setStage(0, 0x0003, 0x0010, 40, 0); // span -1: truncation toward zero
    EXPECT_EQ(decode(0).MapWidth, 7);
    setStage(0, 0x0003, 0x0010, 64, 0);
    EXPECT_EQ(decode(0).MapWidth, 6);

    setStage(0, 0x0100, 0x0010, 0, 0x0E00); // mode 1 whatever the range
    stage = decode(0);
    EXPECT_EQ(stage.MapWidth, 64);
    EXPECT_EQ(stage.MapHeight, 391);

    setStage(0, 0x001A, 0x0010, 0, 0x0100); // mode 2
    stage = decode(0);
    EXPECT_EQ(stage.MapWidth, 64);
    EXPECT_EQ(stage.MapHeight, 16);
}

TEST_F(StageFixture, UnknownScreenModeKeepsThePreviousMapSize)
{
    ini = IniFile::parse("[FG Tilemap]\n03=12\n[Screen mode]\n12=3\n");
    setStage(0, 0x0003, 0x0010, 0, 0x0E00);
    Stage previous;
    EXPECT_EQ(decode(0, previous).MapWidth, 0) << "the first load after start-up gives a 0 x 0 map";
    previous.MapWidth = 33;
    previous.MapHeight = 44;
    const Stage stage = decode(0, previous);
    EXPECT_EQ(stage.ScreenMode, 3);
    EXPECT_EQ(stage.MapWidth, 33);
    EXPECT_EQ(stage.MapHeight, 44);
}

TEST_F(StageFixture, TileCellOffsetCountsFromTheStagesFirstColumn)
{
    Stage stage;
    stage.TilemapOffset = 0x8000;
    stage.TilemapStart = 0x0100;
    stage.MapHeight = 16;
    EXPECT_EQ(tamo::TileCellOffset(stage, 1, 2), 0x8000 + 292);
    stage.TilemapStart = 0x0130;
    EXPECT_EQ(tamo::TileCellOffset(stage, 0, 0), 0x8000 + 2 * 9 * 16);
    EXPECT_EQ(tamo::TileCellOffset(stage, 1, 0) - tamo::TileCellOffset(stage, 0, 0), 32);
}

TEST_F(StageFixture, BananaListOffsetGoesThroughBothByteTables)
{
    rom.byte(rom.offsets.Banana + 4, 2);
    rom.byte(rom.offsets.Banana + 5, 2);
    rom.byte(rom.offsets.Banana2 + 2, 0x40);
    const tamo::RomImage image = rom.image();
    EXPECT_EQ(tamo::BananaListOffset(image, rom.offsets, 4), rom.offsets.Banana2 + 0x40);
    EXPECT_EQ(tamo::BananaListOffset(image, rom.offsets, 5), tamo::BananaListOffset(image, rom.offsets, 4));
}

TEST_F(StageFixture, TablesOutsideTheImageAreErrorsNotReads)
{
    setStage(0, 0x0003, 0x0010, 0, 0);
    rom.word(rom.offsets.Camera, 0xFFF0); // block far beyond the small image
    EXPECT_THROW(decode(0), tamo::RomRangeError);

    TestRom tiny(16);
    const tamo::RomImage image = tiny.image();
    EXPECT_THROW(tamo::DecodeStage({image, tiny.offsets, ini}, 0, {}), tamo::RomRangeError);
    EXPECT_THROW(tamo::BananaListOffset(image, tiny.offsets, 0), tamo::RomRangeError);
    const tamo::RomImage empty;
    EXPECT_THROW(tamo::SpriteListOffset(empty, tiny.offsets, 0), tamo::RomRangeError);
    // A huge level number from the settings file cannot wrap around to a valid offset.
    EXPECT_THROW(tamo::CameraBlockOffset(image, tiny.offsets, INT32_MAX), tamo::RomRangeError);
}
