// Where a chip is used and its replacement, on a small ROM whose stages share and overlap
// tile maps. Expected cells and bytes are worked out by hand from the words placed below.
#include "core/chip_replacement.h"
#include "core/chip_uses.h"
#include "core/ini_file.h"
#include "core/rom_error.h"
#include "core/tile_map_words.h"

#include "tests/support/test_rom.h"

#include <gtest/gtest.h>

using namespace tamo;
using tamo::test::TestRom;

namespace {

constexpr int64_t Map12 = 0x4000;
constexpr int64_t Map13 = Map12 + 12 * 32; // tilemap 13 starts at column 12 of tilemap 12
constexpr int64_t Map14 = 0x7FC0;          // two columns before the end of the image

// Stage 3 (tilemap 12) shows map columns 2-11, stage 4 (also tilemap 12) columns 8-15,
// stage 5 (tilemap 13) columns 12-19 of the same bytes, stage 6 (tilemap 5, screen mode 1)
// points at them too, stage 7 (tilemap 14) has two of its eight columns inside the image.
// The other stages' maps lie outside the image.
struct ChipUsesTest : ::testing::Test
{
    TestRom rom{0x8000};
    IniFile ini = IniFile::parse("[FG Tilemap]\n0C=12\n0D=12\n0E=13\n05=5\n0F=14\n"
                                 "[Screen mode]\n12=0\n13=0\n14=0\n5=1\n");

    static int64_t cell(int column, int row) { return Map12 + 2 * (column * 16 + row); }

    void stage(int level, uint16_t fgWord, uint16_t block, uint16_t start, uint16_t end)
    {
        rom.word(rom.offsets.FG + 2 * level, fgWord);
        rom.word(rom.offsets.Camera + 2 * level, uint16_t(block - rom.offsets.BaseCamera + 4));
        rom.word(block, start);
        rom.word(block + 2, end);
    }

    ChipUsesTest()
    {
        rom.long24(rom.offsets.TileMap + 3 * 12, 0xC00000 + Map12);
        rom.long24(rom.offsets.TileMap + 3 * 13, 0xC00000 + Map13);
        rom.long24(rom.offsets.TileMap + 3 * 14, 0xC00000 + Map14);
        rom.long24(rom.offsets.TileMap + 3 * 5, 0xC00000 + Map12);
        stage(3, 0x0C, 0x1100, 0x40, 0x80);
        stage(4, 0x0D, 0x1200, 0x100, 0x100);
        stage(5, 0x0E, 0x1300, 0, 0);
        stage(6, 0x05, 0x1400, 0, 0);
        stage(7, 0x0F, 0x1500, 0, 0);
        for (int64_t at = Map12; at < Map12 + 20 * 32; at += 2)
            rom.word(at, 0x0001);
        for (int64_t at = Map14; at < 0x8000; at += 2)
            rom.word(at, 0x0001);
        rom.word(cell(1, 1), 0x00A5); // shown by no stage
        rom.word(cell(3, 5), 0x40A5);
        rom.word(cell(9, 0), 0x00A5);
        rom.word(cell(9, 15), 0xC0A5);
        rom.word(cell(14, 2), 0x80A5);
        rom.word(cell(17, 3), 0x00A5);
        rom.word(cell(4, 4), 0x20A5); // chip 20A5: bit 13 belongs to the chip number
        rom.word(Map14 + 2 * (16 + 15), 0x00A5); // the image's last word
    }

    // The bytes that the patch changes, with their offsets.
    std::vector<std::pair<int64_t, int>> changedBy(const RomPatch &patch) const
    {
        RomImage image = rom.image();
        patch.applyTo(image);
        std::vector<std::pair<int64_t, int>> changed;
        for (size_t i = 0; i < rom.bytes.size(); ++i) {
            if (image.bytes()[i] != rom.bytes[i])
                changed.push_back({int64_t(i), image.bytes()[i]});
        }
        return changed;
    }
};

using Bytes = std::vector<std::pair<int64_t, int>>;

using Cells = std::vector<CellPosition>;

TEST_F(ChipUsesTest, EveryModeZeroStageListsItsOwnCellsRowByRow)
{
    const RomImage image = rom.image();
    const StageSource source{image, rom.offsets, ini};
    const std::vector<StageChipUses> expected{
        {3, Cells{{7, 0}, {1, 5}, {7, 15}}},
        {4, Cells{{1, 0}, {6, 2}, {1, 15}}},
        {5, Cells{{2, 2}, {5, 3}}},
        {7, Cells{{1, 15}}},
    };
    EXPECT_EQ(FindChipUses(source, 0xA5), expected);
    EXPECT_EQ(ChipCellsOfStage(image, DecodeStage(source, 4, Stage{}), 0xA5), expected[1].cells);
    EXPECT_EQ(FindChipUses(source, 0x20A5), (std::vector<StageChipUses>{{3, Cells{{2, 4}}}}));
    // Screen mode 1 has no cells, whatever its map holds.
    EXPECT_TRUE(ChipCellsOfStage(image, DecodeStage(source, 6, Stage{}), 0x0001).empty());
}

TEST_F(ChipUsesTest, AStageReplacesInTheColumnsOfEveryStageSharingItsTileMap)
{
    const RomImage image = rom.image();
    const StageSource source{image, rom.offsets, ini};
    // Stages 3 and 4 together show columns 2 to 15 of tilemap 12.
    const std::vector<ByteRun> words = StageTileMapWords(source, 3);
    EXPECT_EQ(words, (std::vector<ByteRun>{{cell(2, 0), cell(16, 0)}}));
    const ChipReplaceEdit edit = ReplaceChipEdit(image, words, {0xA5, 0x00B0, true});
    EXPECT_EQ(edit.cells, 4);
    EXPECT_EQ(edit.text, "Replace chip 0A5 by 0B0 in 4 cells");
    // Each cell keeps its flips: only the low bytes change.
    EXPECT_EQ(changedBy(edit.patch),
              (Bytes{{cell(3, 5), 0xB0}, {cell(9, 0), 0xB0}, {cell(9, 15), 0xB0}, {cell(14, 2), 0xB0}}));
}

TEST_F(ChipUsesTest, EveryTileMapChangesEachSharedCellOnce)
{
    const RomImage image = rom.image();
    const StageSource source{image, rom.offsets, ini};
    const std::vector<ByteRun> words = AllTileMapWords(source);
    EXPECT_EQ(words, (std::vector<ByteRun>{{cell(2, 0), cell(20, 0)}, {Map14, 0x8000}}));
    // Column 14 is shown by stages 4 and 5 of two tile maps: one cell.
    const ChipReplaceEdit edit = ReplaceChipEdit(image, words, {0xA5, 0x80B0, false});
    EXPECT_EQ(edit.cells, 6);
    EXPECT_EQ(edit.text, "Replace chip 0A5 by 0B0 mirrored top-bottom in 6 cells");
    // The flips are set: 14,2 had the vertical flip already.
    EXPECT_EQ(changedBy(edit.patch), (Bytes{{cell(3, 5), 0xB0}, {cell(3, 5) + 1, 0x80},
                                             {cell(9, 0), 0xB0}, {cell(9, 0) + 1, 0x80},
                                             {cell(9, 15), 0xB0}, {cell(9, 15) + 1, 0x80},
                                             {cell(14, 2), 0xB0},
                                             {cell(17, 3), 0xB0}, {cell(17, 3) + 1, 0x80},
                                             {0x7FFE, 0xB0}, {0x7FFF, 0x80}}));
    // A cell that holds the word already is no change.
    EXPECT_EQ(ReplaceChipEdit(image, words, {0xA5, 0x40A5, false}).cells, 5);
    EXPECT_EQ(ReplaceChipText({0x3FFF, 0xC001, false}, 1), "Replace chip 3FFF by 001 mirrored both ways in 1 cell");
    EXPECT_THROW(ReplaceChipEdit(image, std::vector<ByteRun>{{0x7FFE, 0x8002}}, {}), RomRangeError);
}

TEST(DistinctWords, MapsAnOddNumberOfBytesApartShareNoByte)
{
    const auto maps = [](std::vector<ByteRun> a, std::vector<ByteRun> b) {
        return std::vector<ShownTileMap>{{0, {}, std::move(a)}, {1, {}, std::move(b)}};
    };
    using Runs = std::vector<ByteRun>;
    // The word at 0x11F-0x120 would straddle the end of the first map's words.
    EXPECT_EQ(DistinctWords(maps({{0x100, 0x120}}, {{0x111, 0x131}})), (Runs{{0x100, 0x120}, {0x121, 0x131}}));
    EXPECT_EQ(DistinctWords(maps({{0x100, 0x120}}, {{0x110, 0x140}, {0x200, 0x210}})),
              (Runs{{0x100, 0x140}, {0x200, 0x210}}));
    EXPECT_EQ(DistinctWords(maps({{0x100, 0x120}}, {{0x120, 0x124}, {0x104, 0x108}})), (Runs{{0x100, 0x124}}));
}

} // namespace
