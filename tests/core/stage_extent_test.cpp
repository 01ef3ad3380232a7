#include "core/ini_file.h"
#include "core/stage_extent.h"

#include "tests/support/test_rom.h"

#include <gtest/gtest.h>

using tamo::test::TestRom;

namespace {

// Stage 3 of a small ROM with a tile map, lists and settings of its own; every other
// stage shares empty lists at the places pointer 0 gives. No two tables overlap.
struct StageExtentTest : ::testing::Test
{
    TestRom rom{0x8000};
    tamo::IniFile ini = tamo::IniFile::parse("[FG Tilemap]\n03=12\n[Screen mode]\n12=0\n");

    StageExtentTest()
    {
        tamo::OffsetTable &o = rom.offsets;
        o = {0x0000, 0x0400, 0x0800, 0x0C00, 0x1000, 0x1400, 0x1800, 0x1C00, 0x2000, 0x2400, 0x2800,
             0x3000, 0x4000, 0x5000};
        rom.word(o.FG + 6, 0x0003);
        rom.long24(o.TileMap + 3 * 12, 0xC06000);
        // The camera block at 0x3100: tile map columns 2..3 shown (and 8 more), one record.
        rom.word(o.Camera + 6, 0x0104);
        rom.word(0x3100, 0x40);
        rom.word(0x3102, 0x80);
        rom.word(0x3108, 1);
        rom.word(0x310C, 0xFFFF);
        // One sprite at 0x4300, ended by a zero word at 0x4308.
        rom.word(o.Sprite + 6, 0x0300);
        rom.word(0x4300, 1);
        // One banana record at 0x5020, ended by a zero byte at 0x5024.
        rom.byte(o.Banana + 3, 1);
        rom.byte(o.Banana2 + 1, 0x20);
        rom.byte(0x5020, 1);
        // The camera list every other stage shares (its block at 0x2FFC) ends at once.
        rom.word(0x3004, 0xFFFF);
    }

    std::vector<int32_t> stagesTouchedBy(int64_t offset)
    {
        TestRom changed = rom;
        changed.byte(offset, uint8_t(rom.bytes.at(size_t(offset)) + 1));
        const tamo::RomImage image = rom.image();
        const tamo::ImageDifference difference = tamo::StageExtents({image, rom.offsets, ini}).compare(changed.bytes);
        EXPECT_EQ(difference.bytes, 1);
        return difference.stages;
    }
};

} // namespace

TEST_F(StageExtentTest, AStageDiffersWhereItsMapColumnsListsOrSettingsDo)
{
    const std::vector<int32_t> stage3{3}, none{};
    // Settings entries, the tile map range in the camera block.
    EXPECT_EQ(stagesTouchedBy(rom.offsets.BG + 6), stage3);
    EXPECT_EQ(stagesTouchedBy(rom.offsets.Darkness + 12 + 2), stage3);
    EXPECT_EQ(stagesTouchedBy(rom.offsets.Darkness + 12 + 3), none) << "byte 3 is no setting";
    EXPECT_EQ(stagesTouchedBy(0x3102), stage3);
    // The lists, with their terminators and no further.
    EXPECT_EQ(stagesTouchedBy(0x310F), stage3);
    EXPECT_EQ(stagesTouchedBy(0x3110), none);
    EXPECT_EQ(stagesTouchedBy(0x4309), stage3);
    EXPECT_EQ(stagesTouchedBy(0x430A), none);
    EXPECT_EQ(stagesTouchedBy(0x5024), stage3);
    EXPECT_EQ(stagesTouchedBy(0x5025), none);
    // The tile map: columns 2 to 11 of 16 rows at 0x6000, two bytes a cell.
    EXPECT_EQ(stagesTouchedBy(0x6000 + 2 * 2 * 16), stage3);
    EXPECT_EQ(stagesTouchedBy(0x6000 + 2 * 12 * 16 - 1), stage3);
    EXPECT_EQ(stagesTouchedBy(0x6000 + 2 * 2 * 16 - 1), none) << "a column the stage does not show";
    EXPECT_EQ(stagesTouchedBy(0x6000 + 2 * 12 * 16), none);
    // A list the other stages share makes them all differ.
    const std::vector<int32_t> sharing = stagesTouchedBy(0x3005);
    EXPECT_EQ(sharing.size(), size_t(tamo::LevelCount - 1));
    EXPECT_EQ(std::count(sharing.begin(), sharing.end(), 3), 0);
}
