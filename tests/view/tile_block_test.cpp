#include "core/rom_image.h"
#include "tests/view/view_test_support.h"
#include "view/tile_block.h"

#include <gtest/gtest.h>

namespace tamo {
namespace {

using test::StageFixture;

// A stage of 10 columns from map column 8 on (TilemapStart 0x100) with 16 rows.
class TileBlocks : public testing::Test
{
protected:
    TileBlocks()
    {
        for (int column = 0; column < 10; ++column) {
            for (int row = 0; row < 16; ++row)
                fixture.setTile(8 + column, row, uint16_t(column << 8 | row));
        }
    }

    // The offset of a cell's word: the map is stored column by column, 16 words each.
    static int64_t cellOffset(int column, int row) { return StageFixture::TilemapAt + 2 * ((column + 8) * 16 + row); }
    uint16_t cell(int column, int row) const { return fixture.tile(column + 8, row); }

    StageFixture fixture{10, 0x0100};
};

TEST_F(TileBlocks, ACopyReadsTheRectangleRowByRow)
{
    const TileBlock block = CopyTiles(fixture.rom, fixture.stage, CellRect::Spanning({3, 5}, {1, 4}));
    EXPECT_EQ(block, (TileBlock{3, 2, {0x0104, 0x0204, 0x0304, 0x0105, 0x0205, 0x0305}}));
    EXPECT_EQ(CellRect::Spanning({3, 5}, {1, 4}), (CellRect{1, 4, 3, 2}));
}

TEST_F(TileBlocks, APutWritesEachMapColumnAsOneRunAndSkipsCellsOutsideTheMap)
{
    const TileBlock block{3, 2, {0x4011, 0x4012, 0x4013, 0x8021, 0x8022, 0x8023}};
    const RomPatch inside = PutTilesPatch(fixture.rom, fixture.stage, block, {2, 7});
    ASSERT_EQ(inside.writes().size(), 3u);
    EXPECT_EQ(inside.writes()[0].offset, cellOffset(2, 7));
    EXPECT_EQ(inside.writes()[0].bytes, (std::vector<uint8_t>{0x11, 0x40, 0x21, 0x80}));
    EXPECT_EQ(inside.writes()[2].offset, cellOffset(4, 7));
    EXPECT_EQ(inside.writes()[2].bytes, (std::vector<uint8_t>{0x13, 0x40, 0x23, 0x80}));

    // At the bottom-right corner only the block's top-left two cells fall inside.
    const std::vector<uint8_t> before = fixture.rom.bytes();
    PutTilesPatch(fixture.rom, fixture.stage, block, {8, 15}).applyTo(fixture.rom);
    EXPECT_EQ(cell(8, 15), 0x4011);
    EXPECT_EQ(cell(9, 15), 0x4012);
    EXPECT_EQ(test::ChangedBytes(before, fixture.rom.bytes()), 4);
    // Left of and above the map nothing is written either.
    EXPECT_EQ(PutTilesPatch(fixture.rom, fixture.stage, block, {-3, -2}).writes().size(), 0u);
    const RomPatch corner = PutTilesPatch(fixture.rom, fixture.stage, block, {-2, -1});
    ASSERT_EQ(corner.writes().size(), 1u);
    EXPECT_EQ(corner.writes()[0].offset, cellOffset(0, 0));
    EXPECT_EQ(corner.writes()[0].bytes, (std::vector<uint8_t>{0x23, 0x80}));
}

TEST_F(TileBlocks, AFillRepeatsThePatternFromTheRectanglesCorner)
{
    const TileBlock pattern{2, 1, {0x0007, 0x4007}};
    FillTilesPatch(fixture.rom, fixture.stage, {5, 2, 3, 2}, pattern).applyTo(fixture.rom);
    EXPECT_EQ(cell(5, 2), 0x0007);
    EXPECT_EQ(cell(6, 2), 0x4007);
    EXPECT_EQ(cell(7, 2), 0x0007);
    EXPECT_EQ(cell(7, 3), 0x0007);
    EXPECT_EQ(cell(6, 3), 0x4007);
    EXPECT_EQ(cell(8, 2), 0x0802) << "beside the rectangle";
    EXPECT_EQ(EditableCellCount(fixture.rom, fixture.stage, {8, 14, 5, 5}), 4);
}

TEST_F(TileBlocks, CellsWhoseWordLiesOutsideTheImageOrInAnotherScreenModeAreLeftAlone)
{
    // Cell (9, 15) holds the image's last byte and one beyond it; cell (9, 14) fits.
    fixture.stage.TilemapOffset = StageFixture::RomSize - 2 * ((9 + 8) * 16 + 15) - 1;
    EXPECT_TRUE(EditableCell(fixture.rom, fixture.stage, {9, 14}));
    EXPECT_FALSE(EditableCell(fixture.rom, fixture.stage, {9, 15}));
    const TileBlock block = CopyTiles(fixture.rom, fixture.stage, {9, 14, 1, 2});
    EXPECT_EQ(block.words.at(1), 0) << "read as chip 0";
    EXPECT_EQ(FillTilesPatch(fixture.rom, fixture.stage, {9, 14, 1, 2}, SingleCellBlock(1)).writes().size(), 1u);

    fixture.stage.TilemapOffset = StageFixture::TilemapAt;
    fixture.stage.ScreenMode = 2;
    EXPECT_FALSE(EditableCell(fixture.rom, fixture.stage, {0, 0}));
    EXPECT_TRUE(PutTilesPatch(fixture.rom, fixture.stage, block, {0, 0}).isEmpty());
}

TEST(TileBlock, MirroringReversesTheLayoutAndTogglesEachWordsFlip)
{
    const TileBlock block{3, 2, {0x0001, 0x4002, 0x8003, 0xC004, 0x0005, 0x0006}};
    EXPECT_EQ(MirroredLeftRight(block), (TileBlock{3, 2, {0xC003, 0x0002, 0x4001, 0x4006, 0x4005, 0x8004}}));
    EXPECT_EQ(MirroredTopBottom(block), (TileBlock{3, 2, {0x4004, 0x8005, 0x8006, 0x8001, 0xC002, 0x0003}}));
    EXPECT_EQ(MirroredLeftRight(MirroredLeftRight(block)), block);
}

TEST(TileBlock, TheTextFormRoundTripsAndRefusesWhatIsNoBlock)
{
    const TileBlock block{2, 2, {0x0013, 0x4013, 0x8001, 0xC0FF}};
    EXPECT_EQ(TileBlockText(block), "0013 4013\n8001 C0FF\n");
    EXPECT_EQ(TileBlockFromText("0013 4013\n8001 C0FF\n").block, block);
    EXPECT_EQ(TileBlockFromText("  13\t4013\r\n8001 c0ff\r\n\r\n").block, block) << "blanks, CR and lower case";
    EXPECT_EQ(TileBlockFromText("7").block, SingleCellBlock(7));
    for (const char *notABlock : {"", "\n\n", "0013 4013\n8001\n", "12345", "00000", "00G1", "0x13", "1,2"}) {
        const TileBlockRead read = TileBlockFromText(notABlock);
        EXPECT_FALSE(read.block || read.tooLarge()) << '"' << notABlock << '"';
    }
}

TEST(TileBlock, TheProgramsOwnFormRoundTripsAndChecksItsLength)
{
    const TileBlock block{3, 1, {0x0102, 0xFFFF, 0x8000}};
    const std::vector<uint8_t> bytes = TileBlockBytes(block);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{3, 0, 1, 0, 0x02, 0x01, 0xFF, 0xFF, 0x00, 0x80}));
    EXPECT_EQ(TileBlockFromBytes(bytes).block, block);
    std::vector<uint8_t> shorter(bytes.begin(), bytes.end() - 1);
    for (const std::vector<uint8_t> &notABlock :
         {shorter, std::vector<uint8_t>{0, 0, 1, 0}, std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}}) {
        const TileBlockRead read = TileBlockFromBytes(notABlock);
        EXPECT_FALSE(read.block || read.tooLarge()) << notABlock.size();
    }
}

// 2^20 cells at most, in either form; what is larger is told by its size, and what has a
// side longer than 65535 in the text form too.
TEST(TileBlock, BothFormsRefuseTheSameBlocksAsTooLargeAndTellTheirSize)
{
    const auto text = [](int columns, int rows) {
        std::string line;
        for (int column = 0; column < columns; ++column)
            line += column == 0 ? "1" : " 1";
        std::string all;
        for (int row = 0; row < rows; ++row)
            all += line + "\n";
        return all;
    };
    const auto bytes = [](int columns, int rows) {
        std::vector<uint8_t> all{uint8_t(columns), uint8_t(columns >> 8), uint8_t(rows), uint8_t(rows >> 8)};
        all.resize(all.size() + 2 * size_t(columns) * size_t(rows), 1);
        return all;
    };
    struct Case
    {
        int columns;
        int rows;
        bool fits;
    };
    for (const Case &size : {Case{1025, 1024, false}, Case{16, 65535, true}}) {
        for (const TileBlockRead &read : {TileBlockFromText(text(size.columns, size.rows)),
                                          TileBlockFromBytes(bytes(size.columns, size.rows))}) {
            EXPECT_EQ(read.block.has_value(), size.fits) << size.columns << " x " << size.rows;
            EXPECT_EQ(read.tooLarge(), !size.fits) << size.columns << " x " << size.rows;
            EXPECT_EQ(read.columns, size.columns);
            EXPECT_EQ(read.rows, size.rows);
            if (read.block) {
                EXPECT_EQ(read.block->words.size(), size_t(size.columns) * size_t(size.rows));
            }
        }
    }
    const TileBlockRead wide = TileBlockFromText(text(65536, 1));
    EXPECT_TRUE(wide.tooLarge());
    EXPECT_EQ(wide.columns, 65536);
}

} // namespace
} // namespace tamo
