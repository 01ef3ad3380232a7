#include "core/ini_file.h"
#include "core/stage.h"
#include "core/tile_map_spans.h"

#include "tests/support/test_rom.h"

#include <gtest/gtest.h>

using tamo::test::TestRom;

namespace {

// Tilemaps 12 and 13 point at one map at 0x3000; 14 is of screen mode 1; 15 points at a map
// that the image holds only in part. The stages of every other FG word show none.
struct TileMapSpansTest : ::testing::Test
{
    TestRom rom{0x3800};
    tamo::IniFile ini = tamo::IniFile::parse("[FG Tilemap]\n0C=12\n0D=13\n0E=14\n0F=15\n"
                                             "[Screen mode]\n0=1\n12=0\n13=0\n14=1\n15=0\n");

    // The stage shows columns start / 32 up to 8 beyond end / 32.
    void stage(int level, uint16_t fg, uint16_t start, uint16_t end)
    {
        rom.word(rom.offsets.FG + 2 * level, fg);
        const uint16_t pointer = uint16_t(0x0100 + 8 * level);
        rom.word(rom.offsets.Camera + 2 * level, pointer);
        rom.word(rom.offsets.BaseCamera + pointer - 4, start);
        rom.word(rom.offsets.BaseCamera + pointer - 2, end);
    }

    tamo::TileMapSpans spans()
    {
        const tamo::RomImage image = rom.image();
        return tamo::FindTileMapSpans({image, rom.offsets, ini});
    }
};

} // namespace

TEST_F(TileMapSpansTest, AMapReachesFromColumn0ToTheLastColumnAStageShows)
{
    rom.long24(rom.offsets.TileMap + 3 * 12, 0xC03000);
    rom.long24(rom.offsets.TileMap + 3 * 13, 0xC03000);
    rom.long24(rom.offsets.TileMap + 3 * 14, 0xC03000);
    rom.long24(rom.offsets.TileMap + 3 * 15, 0xC03600); // 0x200 bytes: 16 columns
    stage(3, 0x0C, 0x40, 0x80);   // columns 2 to 11
    stage(5, 0x0D, 0x400, 0x500); // columns 32 to 47: through tilemap 13
    stage(7, 0x0C, 0x48, 0x20);   // (32 - 72) / 32 truncates to -1: columns 2 to 8
    stage(9, 0x0E, 0, 0x1000);    // mode 1: no map of this kind
    stage(11, 0x0F, 0, 0x100);    // 16 columns fit
    stage(13, 0x0F, 0, 0x120);    // 17 do not: tilemap 15 is left out
    stage(15, 0x0C, 0x100, 0);    // -8 + 8 columns: shows none

    const tamo::TileMapSpans found = spans();
    ASSERT_EQ(found.maps.size(), 1u);
    EXPECT_EQ(found.maps[0], (tamo::TileMapSpan{12, 0x3000, 48, 16}));
    for (int level = 0; level < tamo::LevelCount; ++level) {
        const bool showsTwelve = level == 3 || level == 5 || level == 7;
        EXPECT_EQ(found.tilemapOfStage[size_t(level)], showsTwelve ? std::optional<int32_t>(12) : std::nullopt) << level;
    }
    // Column 2, row 5 of the whole map.
    EXPECT_EQ(tamo::TileMapWordOffset(found.maps[0], 2, 5), 0x3000 + 2 * (2 * 16 + 5));
}
