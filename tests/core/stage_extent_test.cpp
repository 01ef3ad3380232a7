#include "core/ini_file.h"
#include "core/rom_error.h"
#include "core/stage_extent.h"

#include "tests/support/test_rom.h"

#include <gtest/gtest.h>

using tamo::ByteRun;
using tamo::IniFile;
using tamo::test::TestRom;

TEST(DifferingRuns, RunsCountAndJoinAsTheBytesSay)
{
    const std::vector<uint8_t> a{0, 1, 2, 3, 4, 5, 6, 7};
    const std::vector<uint8_t> b{0, 9, 9, 3, 4, 5, 9, 7, 8, 8};
    EXPECT_EQ(tamo::DifferingRuns(a, b), (std::vector<ByteRun>{{1, 3}, {6, 7}, {8, 10}}));
    EXPECT_EQ(tamo::ByteCount(tamo::DifferingRuns(a, b)), 5);
    // Three equal bytes between two runs are written with them when runs 4 apart join.
    EXPECT_EQ(tamo::DifferingRuns(a, b, 4), (std::vector<ByteRun>{{1, 10}}));
    EXPECT_TRUE(tamo::DifferingRuns(a, a).empty());

    const std::vector<ByteRun> runs{{1, 3}, {6, 7}};
    EXPECT_TRUE(tamo::Overlaps(runs, {2, 5}));
    EXPECT_TRUE(tamo::Overlaps(runs, {6, 7}));
    EXPECT_FALSE(tamo::Overlaps(runs, {3, 6}));
    EXPECT_FALSE(tamo::Overlaps(runs, {7, 100}));
    EXPECT_FALSE(tamo::Overlaps(runs, {2, 2})) << "an empty range overlaps nothing";
}

TEST(DifferencePatch, TurnsOneImageIntoTheOtherAndNothingElse)
{
    std::vector<uint8_t> from(5000), to(5000);
    for (size_t i = 0; i < from.size(); ++i) {
        from[i] = uint8_t(i * 7);
        to[i] = (i % 97 == 0 || (i > 3000 && i < 3300)) ? uint8_t(i * 7 + 1) : from[i];
    }
    tamo::RomImage image(from);
    const tamo::RomPatch patch = tamo::DifferencePatch(from, to, "t");
    patch.applyTo(image);
    EXPECT_EQ(image.bytes(), to);
    EXPECT_LT(patch.writes().size(), 60u) << "nearby runs are written as one";
    EXPECT_TRUE(tamo::DifferencePatch(from, from, "t").isEmpty());
    EXPECT_THROW(tamo::DifferencePatch(from, std::vector<uint8_t>(10), "t"), tamo::RomError);
}

namespace {

// Stage 3 of a small ROM with a tile map, lists and settings of its own; every other
// stage shares empty lists at the places pointer 0 gives. No two tables overlap.
struct StageExtentTest : ::testing::Test
{
    TestRom rom{0x8000};
    IniFile ini = IniFile::parse("[FG Tilemap]\n03=12\n[Screen mode]\n12=0\n");

    StageExtentTest()
    {
        tamo::OffsetTable &o = rom.offsets;
        o = {0x0000, 0x0400, 0x0800, 0x0C00, 0x1000, 0x1400, 0x1800, 0x1C00, 0x2000, 0x2400, 0x2800,
             0x3000, 0x4000, 0x5000};
        const int64_t n = 3;
        rom.word(o.FG + 2 * n, 0x0003);
        rom.long24(o.TileMap + 3 * 12, 0xC06000);
        // The camera block at 0x3100: tile map columns 2..3 shown (with 8 more), one record.
        rom.word(o.Camera + 2 * n, 0x0104);
        rom.word(0x3100, 0x40);
        rom.word(0x3102, 0x80);
        rom.word(0x3108, 1);
        rom.word(0x310A, 2);
        rom.word(0x310C, 0xFFFF);
        // One sprite at 0x4300, ended by a zero word at 0x4308.
        rom.word(o.Sprite + 2 * n, 0x0300);
        rom.word(0x4300, 1);
        // One banana record at 0x5020, ended by a zero byte at 0x5024.
        rom.byte(o.Banana + n, 1);
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
        const tamo::ImageDifference difference = tamo::CompareImages({image, rom.offsets, ini}, changed.bytes);
        EXPECT_EQ(difference.bytes, 1);
        return difference.stages;
    }
};

} // namespace

TEST_F(StageExtentTest, AStageDiffersWhereItsMapColumnsListsOrSettingsDo)
{
    const std::vector<int32_t> stage3{3};
    // Settings entries.
    EXPECT_EQ(stagesTouchedBy(rom.offsets.BG + 6), stage3);
    EXPECT_EQ(stagesTouchedBy(rom.offsets.Darkness + 12 + 2), stage3);
    EXPECT_EQ(stagesTouchedBy(rom.offsets.Darkness + 12 + 3), std::vector<int32_t>{}) << "byte 3 is no setting";
    EXPECT_EQ(stagesTouchedBy(0x3102), stage3) << "the tile map range in the camera block";
    // The lists, with their terminators and no further.
    EXPECT_EQ(stagesTouchedBy(0x310A), stage3);
    EXPECT_EQ(stagesTouchedBy(0x310F), stage3);
    EXPECT_EQ(stagesTouchedBy(0x3110), std::vector<int32_t>{});
    EXPECT_EQ(stagesTouchedBy(0x4309), stage3);
    EXPECT_EQ(stagesTouchedBy(0x430A), std::vector<int32_t>{});
    EXPECT_EQ(stagesTouchedBy(0x5024), stage3);
    EXPECT_EQ(stagesTouchedBy(0x5025), std::vector<int32_t>{});
    // The tile map: columns 2 to 11 of 16 rows at 0x6000, two bytes a cell.
    EXPECT_EQ(stagesTouchedBy(0x6000 + 2 * 2 * 16), stage3);
    EXPECT_EQ(stagesTouchedBy(0x6000 + 2 * 12 * 16 - 1), stage3);
    EXPECT_EQ(stagesTouchedBy(0x6000 + 2 * 2 * 16 - 1), std::vector<int32_t>{}) << "a column the stage does not show";
    EXPECT_EQ(stagesTouchedBy(0x6000 + 2 * 12 * 16), std::vector<int32_t>{});
}

TEST_F(StageExtentTest, ListsSharedByStagesMakeThemAllDiffer)
{
    const std::vector<int32_t> touched = stagesTouchedBy(0x3005);
    EXPECT_EQ(touched.size(), size_t(tamo::LevelCount - 1));
    EXPECT_EQ(std::count(touched.begin(), touched.end(), 3), 0);
    EXPECT_EQ(stagesTouchedBy(rom.offsets.FG), std::vector<int32_t>{0});
}
