#include "core/rom_error.h"
#include "core/rom_image.h"
#include "core/rom_patch.h"
#include "core/stage.h"
#include "tests/support/test_rom.h"

#include <gtest/gtest.h>

using tamo::RomImage;
using tamo::test::CountingRom;
using tamo::RomPatch;
using tamo::RomRangeError;

TEST(RomPatch, AppliesItsWritesInOrderAndItsInverseRestoresEveryByte)
{
    RomImage rom = CountingRom(16);
    const RomImage original = rom;
    RomPatch patch;
    patch.writeWord(2, 0xBEEF, "t").writeByte(3, 0x11, "t").writeDword(10, 0x0A0B0C0D, "t");
    const RomPatch undo = patch.applyTo(rom);
    // The later byte write lands over the word's high byte.
    const std::vector<uint8_t> expected{0, 1, 0xEF, 0x11, 4, 5, 6, 7, 8, 9, 0x0D, 0x0C, 0x0B, 0x0A, 14, 15};
    EXPECT_EQ(rom.bytes(), expected);
    undo.applyTo(rom);
    EXPECT_EQ(rom.bytes(), original.bytes());
}

TEST(RomPatch, AWriteOutsideTheImageChangesNoByteAndNamesIt)
{
    RomImage rom = CountingRom(8);
    RomPatch patch;
    patch.writeByte(0, 0xAA, "first").writeWord(7, 0xBBBB, "Sprite record");
    try {
        patch.applyTo(rom);
        FAIL() << "no error";
    } catch (const RomRangeError &error) {
        EXPECT_NE(std::string(error.what()).find("Sprite record"), std::string::npos) << error.what();
    }
    EXPECT_EQ(rom.bytes(), CountingRom(8).bytes());
    EXPECT_THROW(RomPatch().writeByte(-1, 0, "t").inverse(rom), RomRangeError);
    EXPECT_THROW(RomPatch().writeByte(8, 0, "t").changes(rom), RomRangeError);
}

TEST(RomPatch, ChangesTellsWhetherAnyByteWouldDiffer)
{
    const RomImage rom = CountingRom(8);
    EXPECT_FALSE(RomPatch().changes(rom));
    EXPECT_FALSE(RomPatch().writeWord(2, 0x0302, "t").changes(rom));
    EXPECT_TRUE(RomPatch().writeWord(2, 0x0303, "t").changes(rom));
    // A byte changed and changed back by a later write leaves the image as it is.
    EXPECT_FALSE(RomPatch().writeByte(5, 9, "t").writeByte(5, 5, "t").changes(rom));
    // Where a later write covers only part of an earlier one, the rest of the earlier one
    // still counts; writes far apart and out of order are each looked at.
    EXPECT_TRUE(RomPatch().writeWord(2, 0x0909, "t").writeByte(3, 3, "t").changes(rom));
    EXPECT_FALSE(RomPatch().writeWord(6, 0x0706, "t").writeByte(0, 0, "t").changes(rom));
    EXPECT_TRUE(RomPatch().writeWord(6, 0x0706, "t").writeByte(0, 1, "t").changes(rom));
    // Writes in order and apart, only the last of them changing a byte.
    EXPECT_FALSE(RomPatch().writeByte(0, 0, "t").writeWord(2, 0x0302, "t").writeByte(7, 7, "t").changes(rom));
    EXPECT_TRUE(RomPatch().writeByte(0, 0, "t").writeWord(2, 0x0302, "t").writeByte(7, 8, "t").changes(rom));
}

TEST(RomPatch, AppendedPatchesAndTheirInversesNestLikeOneEdit)
{
    // Two writes of the same place, made one after the other and undone together in the
    // reverse order, leave the byte from before the first.
    RomImage rom = CountingRom(4);
    const RomPatch first = RomPatch().writeByte(1, 0x50, "t");
    const RomPatch second = RomPatch().writeByte(1, 0x60, "t");
    const RomPatch undoFirst = first.applyTo(rom);
    const RomPatch undoSecond = second.applyTo(rom);
    RomPatch undoBoth = undoSecond;
    undoBoth.append(undoFirst);
    EXPECT_EQ(rom.readByte(1, "t"), 0x60);
    undoBoth.applyTo(rom);
    EXPECT_EQ(rom.bytes(), CountingRom(4).bytes());
}

TEST(TileCellAt, FindsTheCellOfEveryByteOfTheStagesPartOfTheMap)
{
    tamo::Stage stage;
    stage.TilemapOffset = 0x1000;
    stage.TilemapStart = 0x0100; // the stage shows map columns 8 and on
    stage.MapWidth = 3;
    stage.MapHeight = 16;
    // Cell (1, 2): 2 x ((1 + 8) x 16 + 2) = 292 bytes in, both bytes of its word.
    EXPECT_EQ(tamo::TileCellAt(stage, 0x1000 + 292), (tamo::CellPosition{1, 2}));
    EXPECT_EQ(tamo::TileCellAt(stage, 0x1000 + 293), (tamo::CellPosition{1, 2}));
    EXPECT_EQ(tamo::TileCellAt(stage, 0x1000 + 2 * 8 * 16), (tamo::CellPosition{0, 0}));
    EXPECT_EQ(tamo::TileCellAt(stage, 0x1000 + 2 * 8 * 16 - 1), std::nullopt); // map column 7
    EXPECT_EQ(tamo::TileCellAt(stage, 0x1000 + 2 * 11 * 16), std::nullopt);     // map column 11
    EXPECT_EQ(tamo::TileCellAt(stage, 0x0FFF), std::nullopt);
    stage.ScreenMode = 1;
    EXPECT_EQ(tamo::TileCellAt(stage, 0x1000 + 292), std::nullopt);
}
