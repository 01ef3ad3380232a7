#include "tests/view/view_test_support.h"
#include "view/map_editor.h"
#include "view/map_pen.h"
#include "view/stage_renderer.h"

#include <gtest/gtest.h>

namespace tamo {
namespace {

using test::RecordingCanvas;
using test::StageFixture;
using Kind = RecordingCanvas::Kind;

// Makes the paint writes as the editor's document does: applied to the image, then the
// changed cells drawn again.
struct RecordingHost : MapEditorHost
{
    void showCellStatus(const std::string &text) override { cellStatus.push_back(text); }
    void showPenStatus(const std::string &text) override { penStatus.push_back(text); }
    void penChanged() override { ++penChanges; }
    void strokeStarted() override { ++strokes; }
    void paint(const RomPatch &patch) override
    {
        patch.applyTo(*rom);
        for (const CellPosition &cell : DrawChangedCells(*scene, patch))
            changedCells.push_back(cell);
    }
    void imageChanged() override { ++imageChanges; }
    void editTiles(const std::string &text, const RomPatch &patch) override
    {
        steps.push_back(text);
        paint(patch);
    }
    void copyTiles(const TileBlock &block) override { copied = block; }
    void toolsChanged() override { ++toolsChanges; }

    RomImage *rom = nullptr;
    const StageScene *scene = nullptr;
    std::vector<std::string> cellStatus;
    std::vector<std::string> penStatus;
    int penChanges = 0;
    int strokes = 0;
    std::vector<CellPosition> changedCells;
    int imageChanges = 0;
    std::vector<std::string> steps;
    std::optional<TileBlock> copied;
    int toolsChanges = 0;
};

class MapEditing : public testing::Test
{
protected:
    MapEditing()
    {
        canvas.resize(fixture.stage.MapWidth * 32, 512);
    }

    MapEditor editor()
    {
        m_scene.emplace(fixture.scene(canvas));
        host.rom = &fixture.rom;
        host.scene = &*m_scene;
        return MapEditor(*m_scene, pen, tools, host);
    }

    int64_t cellOffset(int column, int row) const
    {
        return StageFixture::TilemapAt + 2 * ((column + fixture.stage.TilemapStart / 32) * 16 + row);
    }

    StageFixture fixture{10, 0x0100};
    RecordingCanvas canvas;
    Pen pen;
    MapTools tools;
    RecordingHost host;

private:
    std::optional<StageScene> m_scene;
};

TEST(PenStatus, TextsOfTheStatusBar)
{
    EXPECT_EQ(CellStatusText(12, 3), "X:12,Y:3");
    Pen pen;
    EXPECT_EQ(PenStatusText(pen), "現在のチップ:0000");
    pen.CurrentChip = 0x1F;
    pen.HFlip = true;
    pen.VFlip = true;
    EXPECT_EQ(PenStatusText(pen), "現在のチップ:001F 横反転 縦反転");
    pen.HFlip = false;
    pen.CurrentChip = 0x12345;
    EXPECT_EQ(PenStatusText(pen), "現在のチップ:12345 縦反転");
}

TEST(PenStatus, ResetPenKeepsTheStroke)
{
    Pen pen{0x55, true, true, true, SingleCellBlock(7)};
    ResetPen(pen);
    EXPECT_EQ(pen.CurrentChip, 0);
    EXPECT_FALSE(pen.HFlip);
    EXPECT_FALSE(pen.VFlip);
    EXPECT_FALSE(pen.Stamp) << "a stage load drops the stamp";
    EXPECT_TRUE(pen.Painting);
}

TEST(CellUnderPointer, DivisionTruncatesTowardZero)
{
    EXPECT_EQ(CellAt(40, 70), (CellPosition{1, 2}));
    EXPECT_EQ(CellAt(-10, -31), (CellPosition{0, 0}));
    EXPECT_EQ(CellAt(-32, 5), (CellPosition{-1, 0}));
    EXPECT_EQ(CellAt(-40, -64), (CellPosition{-1, -2}));
}

TEST_F(MapEditing, LeftPressWritesThePenWordAtTheCell)
{
    pen.CurrentChip = 0x123;
    pen.HFlip = true;
    editor().mouseDown(MouseButton::Left, 40, 70);
    // TilemapStart 0x100: column 8 first; cell (1, 2) lies 2 x ((1 + 8) x 16 + 2) = 292 bytes in.
    EXPECT_EQ(fixture.rom.readByte(StageFixture::TilemapAt + 292, "check"), 0x23);
    EXPECT_EQ(fixture.rom.readByte(StageFixture::TilemapAt + 293, "check"), 0x41);
    EXPECT_TRUE(pen.Painting);
    ASSERT_EQ(host.changedCells.size(), 1u);
    EXPECT_EQ(host.changedCells[0], (CellPosition{1, 2}));
    EXPECT_EQ(host.cellStatus.back(), "X:1,Y:2");
    EXPECT_EQ(host.penStatus.back(), "現在のチップ:0123 横反転");
}

TEST_F(MapEditing, PaintingRedrawsSingleCellsAndMarksOnRelease)
{
    fixture.setSprites({{1, 0x0140, 0, 0x00AB}});
    pen.CurrentChip = 7;
    MapEditor map = editor();
    map.mouseDown(MouseButton::Left, 10, 10);
    map.mouseMove(50, 10);
    map.mouseMove(90, 10);
    ASSERT_EQ(canvas.calls.size(), 3u);
    for (const auto &call : canvas.calls) {
        EXPECT_EQ(call.kind, Kind::Copy);
        EXPECT_EQ(call.source, fixture.chips.get());
        EXPECT_EQ(call.sourceX, 7 * 32);
    }
    EXPECT_EQ(canvas.calls[2].x, 64);
    canvas.calls.clear();
    map.mouseUp();
    EXPECT_FALSE(pen.Painting);
    ASSERT_FALSE(canvas.calls.empty());
    for (const auto &call : canvas.calls)
        EXPECT_NE(call.source, fixture.chips.get()); // marks only, no tiles
    EXPECT_EQ(canvas.ofKind(Kind::Copy).size(), 2u); // the sprite and the start point
    EXPECT_EQ(host.imageChanges, 1);
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(fixture.rom.readWord(cellOffset(column, 0), "check"), 7);
}

TEST_F(MapEditing, MoveWithoutStrokeOnlyReportsStatus)
{
    editor().mouseMove(100, 100);
    EXPECT_TRUE(canvas.calls.empty());
    EXPECT_EQ(host.cellStatus, std::vector<std::string>{"X:3,Y:3"});
    EXPECT_EQ(host.penStatus.size(), 1u);
    EXPECT_EQ(fixture.rom.readWord(cellOffset(3, 3), "check"), 0);
}

TEST_F(MapEditing, DraggingPastTheLeftEdge)
{
    pen.CurrentChip = 9;
    MapEditor map = editor();
    map.mouseDown(MouseButton::Left, 5, 40);
    fixture.rom.writeWord(cellOffset(0, 1), 0, "reset");
    map.mouseMove(-10, 40);
    EXPECT_EQ(fixture.rom.readWord(cellOffset(0, 1), "check"), 9);
    const std::vector<uint8_t> before = fixture.rom.bytes();
    const size_t statusBefore = host.cellStatus.size();
    map.mouseMove(-40, 40);
    map.mouseMove(40, -40);
    EXPECT_EQ(fixture.rom.bytes(), before);
    EXPECT_EQ(host.cellStatus.size(), statusBefore); // panel 0 keeps its text
}

TEST_F(MapEditing, CellsBeyondTheRightAndBottomEdgesAreIgnored)
{
    const std::vector<uint8_t> before = fixture.rom.bytes();
    MapEditor map = editor();
    map.mouseDown(MouseButton::Left, 10 * 32, 0);
    map.mouseMove(0, 16 * 32);
    map.mouseDown(MouseButton::Right, 10 * 32 + 5, 5);
    EXPECT_EQ(fixture.rom.bytes(), before);
    EXPECT_TRUE(canvas.calls.empty());
    EXPECT_EQ(host.penChanges, 0);
}

TEST_F(MapEditing, RightClickPicksThePen)
{
    fixture.rom.writeWord(cellOffset(2, 4), 0x8005, "test");
    editor().mouseDown(MouseButton::Right, 2 * 32 + 1, 4 * 32 + 31);
    EXPECT_EQ(pen.CurrentChip, 5);
    EXPECT_FALSE(pen.HFlip);
    EXPECT_TRUE(pen.VFlip);
    EXPECT_FALSE(pen.Painting);
    EXPECT_EQ(host.penChanges, 1);
    EXPECT_EQ(host.penStatus.back(), "現在のチップ:0005 縦反転");
    EXPECT_EQ(host.cellStatus.back(), "X:2,Y:4");
    EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(MapEditing, PickInMidStrokePaintsWithTheNewPen)
{
    fixture.rom.writeWord(cellOffset(5, 0), 0x4011, "test");
    pen.CurrentChip = 3;
    MapEditor map = editor();
    map.mouseDown(MouseButton::Left, 0, 0);
    map.mouseDown(MouseButton::Right, 5 * 32, 0);
    map.mouseMove(32, 0);
    EXPECT_EQ(fixture.rom.readWord(cellOffset(0, 0), "check"), 3);
    EXPECT_EQ(fixture.rom.readWord(cellOffset(1, 0), "check"), 0x4011);
    map.mouseUp(); // releasing either button ends the stroke
    map.mouseMove(64, 0);
    EXPECT_EQ(fixture.rom.readWord(cellOffset(2, 0), "check"), 0);
}

TEST_F(MapEditing, PickWhileCapturedLeftOfTheImageReadsNothing)
{
    fixture.rom.writeWord(cellOffset(-1, 0), 0x4011, "test"); // the column before the stage
    MapEditor map = editor();
    map.mouseDown(MouseButton::Left, 0, 0);
    map.mouseDown(MouseButton::Right, -40, 0);
    EXPECT_EQ(pen.CurrentChip, 0);
    EXPECT_EQ(host.penChanges, 0);
}

TEST_F(MapEditing, MiddleButtonDoesNothingButItsReleaseEndsTheStroke)
{
    MapEditor map = editor();
    map.mouseDown(MouseButton::Left, 0, 0);
    canvas.calls.clear();
    const std::vector<uint8_t> before = fixture.rom.bytes();
    map.mouseDown(MouseButton::Middle, 64, 64);
    EXPECT_EQ(fixture.rom.bytes(), before);
    EXPECT_TRUE(canvas.calls.empty());
    map.mouseUp();
    EXPECT_FALSE(pen.Painting);
    EXPECT_EQ(host.imageChanges, 1);
    EXPECT_FALSE(canvas.calls.empty());
}

TEST_F(MapEditing, FlipsToggleEachFlipAndThePenText)
{
    FlipPen(pen, Flip::LeftRight);
    EXPECT_TRUE(pen.HFlip);
    EXPECT_EQ(PenStatusText(pen), "現在のチップ:0000 横反転");
    FlipPen(pen, Flip::TopBottom);
    EXPECT_EQ(PenStatusText(pen), "現在のチップ:0000 横反転 縦反転");
    FlipPen(pen, Flip::LeftRight);
    EXPECT_FALSE(pen.HFlip);
    EXPECT_TRUE(pen.VFlip);
}

TEST_F(MapEditing, PaletteClickChoosesTheChip)
{
    pen.HFlip = true;
    // Pixel (100, 40) lies in column 3 and row 1 of the 32-pixel palette cells: chip 0x13.
    ChoosePaletteChip(pen, 100, 40);
    EXPECT_EQ(pen.CurrentChip, 0x13);
    EXPECT_TRUE(pen.HFlip);
    EXPECT_EQ(PenStatusText(pen), "現在のチップ:0013 横反転");
}

TEST_F(MapEditing, OtherScreenModesChangeNothingButReportTheCell)
{
    fixture.stage.ScreenMode = 1;
    fixture.stage.MapWidth = 64;
    fixture.stage.MapHeight = 391;
    fixture.rom.writeWord(cellOffset(0, 0), 0x0022, "test");
    const std::vector<uint8_t> before = fixture.rom.bytes();
    MapEditor map = editor();
    map.mouseDown(MouseButton::Left, 0, 0);
    map.mouseMove(2000, 12000);
    map.mouseDown(MouseButton::Right, 0, 0);
    map.mouseUp();
    EXPECT_EQ(fixture.rom.bytes(), before);
    EXPECT_EQ(pen.CurrentChip, 0);
    EXPECT_TRUE(canvas.calls.empty());
    EXPECT_EQ(host.cellStatus.back(), "X:62,Y:375");
}

TEST_F(MapEditing, CellsWhoseWordLiesOutsideTheImageAreNeitherWrittenNorRead)
{
    // Cell (9, 0) holds the image's last byte and one beyond it; cell (8, 15) fits.
    fixture.stage.TilemapOffset = StageFixture::RomSize - 2 * 16 * 9 - 1;
    fixture.stage.TilemapStart = 0;
    const std::vector<uint8_t> before = fixture.rom.bytes();
    pen.CurrentChip = 0x77;
    MapEditor map = editor();
    map.mouseDown(MouseButton::Left, 9 * 32, 0);
    map.mouseDown(MouseButton::Right, 9 * 32, 0);
    EXPECT_EQ(fixture.rom.bytes(), before);
    EXPECT_EQ(pen.CurrentChip, 0x77);
    EXPECT_EQ(host.penChanges, 0);
    map.mouseMove(8 * 32, 15 * 32);
    EXPECT_EQ(fixture.rom.readWord(StageFixture::RomSize - 3, "check"), 0x77);
}

// The tile tools on a stage of 10 columns whose cell (column, row) holds 0x0100 x column
// + row, so that every copied word tells where it came from.
class TileToolEditing : public MapEditing
{
protected:
    TileToolEditing()
    {
        for (int column = 0; column < 10; ++column) {
            for (int row = 0; row < 16; ++row)
                fixture.rom.writeWord(cellOffset(column, row), uint16_t(column << 8 | row), "test");
        }
    }

    uint16_t word(int column, int row) const { return fixture.rom.readWord(cellOffset(column, row), "check"); }

    // A press, a move and a release, in cells; the press with Shift held or not.
    void drag(MouseButton button, CellPosition from, CellPosition to, bool shift = false)
    {
        MapEditor map = editor();
        map.mouseDown(button, from.column * 32 + 5, from.row * 32 + 5, shift);
        map.mouseMove(to.column * 32 + 5, to.row * 32 + 5);
        map.mouseUp();
    }
};

TEST_F(TileToolEditing, ShiftDragSelectsInsideTheMapAndAClickClearsWithoutPainting)
{
    const std::vector<uint8_t> before = fixture.rom.bytes();
    drag(MouseButton::Left, {7, 14}, {12, 20}, true);
    EXPECT_EQ(tools.Selection, (CellRect{7, 14, 3, 2})) << "the drag past the corner stops at the map's edge";
    EXPECT_FALSE(tools.SelectionAnchor);
    EXPECT_FALSE(pen.Painting);
    EXPECT_GT(host.toolsChanges, 0);

    editor().mouseDown(MouseButton::Left, 5, 5);
    EXPECT_FALSE(tools.Selection);
    EXPECT_FALSE(pen.Painting);
    EXPECT_EQ(fixture.rom.bytes(), before);
    EXPECT_EQ(host.strokes, 0);
}

TEST_F(TileToolEditing, CopyCutDeleteAndFillEachMakeOneNamedStep)
{
    drag(MouseButton::Left, {2, 3}, {3, 5}, true);
    MapEditor map = editor();
    map.tiles().copy();
    ASSERT_TRUE(host.copied);
    EXPECT_EQ(*host.copied, (TileBlock{2, 3, {0x0203, 0x0303, 0x0204, 0x0304, 0x0205, 0x0305}}));
    EXPECT_TRUE(host.steps.empty()) << "copying changes nothing";

    pen.CurrentChip = 0x11;
    pen.HFlip = true;
    map.tiles().fill();
    for (int row = 3; row <= 5; ++row) {
        EXPECT_EQ(word(2, row), 0x4011);
        EXPECT_EQ(word(3, row), 0x4011);
    }
    EXPECT_EQ(word(4, 3), 0x0403);
    map.tiles().cut();
    EXPECT_EQ(*host.copied, (TileBlock{2, 3, std::vector<uint16_t>(6, 0x4011)}));
    EXPECT_EQ(word(3, 5), 0);
    fixture.rom.writeWord(cellOffset(2, 4), 0x0055, "test");
    map.tiles().deleteCells();
    EXPECT_EQ(word(2, 4), 0);
    EXPECT_EQ(host.steps, (std::vector<std::string>{"Fill 6 cells", "Cut 6 cells", "Delete 6 cells"}));
    EXPECT_EQ(tools.Selection, (CellRect{2, 3, 2, 3})) << "the selection stays";
}

TEST_F(TileToolEditing, APastedBlockFollowsThePointerAndAClickPlacesWhatFallsInsideTheMap)
{
    const TileBlock block{3, 2, {0x0011, 0x0012, 0x0013, 0x0021, 0x0022, 0x0023}};
    MapEditor map = editor();
    map.tiles().paste(block, {0, 0});
    map.mouseMove(8 * 32 + 1, 14 * 32 + 1);
    EXPECT_EQ(StampPlace(tools, pen), (CellRect{8, 14, 3, 2}));
    const std::vector<uint8_t> before = fixture.rom.bytes();
    map.mouseDown(MouseButton::Left, 8 * 32 + 1, 14 * 32 + 1);
    map.mouseUp();
    EXPECT_EQ(host.steps, std::vector<std::string>{"Paste 3 x 2 cells"});
    EXPECT_EQ(word(8, 14), 0x0011);
    EXPECT_EQ(word(9, 14), 0x0012);
    EXPECT_EQ(word(8, 15), 0x0021);
    EXPECT_EQ(word(9, 15), 0x0022);
    EXPECT_EQ(test::ChangedBytes(before, fixture.rom.bytes()), 8);
    EXPECT_FALSE(tools.Floating);
    EXPECT_FALSE(pen.Painting) << "placing paints nothing";

    map.tiles().paste(block, {1, 1});
    map.tiles().cancel();
    map.mouseDown(MouseButton::Left, 5, 5);
    map.mouseUp();
    EXPECT_EQ(host.steps.size(), 1u) << "Esc dropped the block; the click painted";
    EXPECT_EQ(word(0, 0), 0);
}

// Cells beyond the map's width and height from the block's corner could never land: the
// block floats without them.
TEST_F(TileToolEditing, ABlockLargerThanTheMapFloatsAndPlacesOnlyItsTopLeftPart)
{
    TileBlock block{13, 18, {}};
    for (int row = 0; row < 18; ++row) {
        for (int column = 0; column < 13; ++column)
            block.words.push_back(uint16_t((column << 8 | row) ^ 0x8080));
    }
    MapEditor map = editor();
    map.tiles().paste(block, {4, 4});
    ASSERT_TRUE(tools.Floating);
    EXPECT_EQ(tools.Floating->columns, 10);
    EXPECT_EQ(tools.Floating->rows, 16);
    EXPECT_EQ(tools.Floating->words.size(), 160u);
    map.mouseMove(5, 5);
    EXPECT_EQ(StampPlace(tools, pen), (CellRect{0, 0, 10, 16}));

    const std::vector<uint8_t> before = fixture.rom.bytes();
    map.mouseDown(MouseButton::Left, 5, 5);
    map.mouseUp();
    EXPECT_EQ(host.steps, std::vector<std::string>{"Paste 10 x 16 cells"});
    for (int column = 0; column < 10; ++column) {
        for (int row = 0; row < 16; ++row)
            EXPECT_EQ(word(column, row), (column << 8 | row) ^ 0x8080) << column << ", " << row;
    }
    EXPECT_EQ(test::ChangedBytes(before, fixture.rom.bytes()), 320) << "no byte beside the map";
}

TEST_F(TileToolEditing, ARightDragTakesAStampThatPaintsWholeAndFlipsAsAWhole)
{
    drag(MouseButton::Right, {1, 2}, {3, 3});
    ASSERT_TRUE(pen.Stamp);
    EXPECT_EQ(*pen.Stamp, (TileBlock{3, 2, {0x0102, 0x0202, 0x0302, 0x0103, 0x0203, 0x0303}}));
    EXPECT_FALSE(tools.Capture);
    EXPECT_EQ(host.penStatus.back(), "Stamp 3 x 2");

    FlipPen(pen, Flip::LeftRight);
    EXPECT_EQ(*pen.Stamp, (TileBlock{3, 2, {0x4302, 0x4202, 0x4102, 0x4303, 0x4203, 0x4103}}));
    EXPECT_EQ(PenStatusText(pen), "Stamp 3 x 2 横反転");
    FlipPen(pen, Flip::TopBottom);
    EXPECT_EQ(*pen.Stamp, (TileBlock{3, 2, {0xC303, 0xC203, 0xC103, 0xC302, 0xC202, 0xC102}}));

    MapEditor map = editor();
    // A stroke puts the whole stamp at every cell the pointer crosses.
    map.mouseDown(MouseButton::Left, 6 * 32, 10 * 32);
    map.mouseMove(7 * 32, 10 * 32);
    map.mouseUp();
    EXPECT_EQ(word(6, 10), 0xC303);
    EXPECT_EQ(word(7, 10), 0xC303);
    EXPECT_EQ(word(8, 10), 0xC203);
    EXPECT_EQ(word(9, 10), 0xC103);
    EXPECT_EQ(word(7, 11), 0xC302);
    EXPECT_EQ(word(9, 11), 0xC102);
    EXPECT_EQ(host.strokes, 1);

    // A one-cell pick, or a chip from the palette, makes the pen one chip again.
    drag(MouseButton::Right, {4, 4}, {4, 4});
    EXPECT_FALSE(pen.Stamp);
    EXPECT_EQ(pen.CurrentChip, 0x0404);
    drag(MouseButton::Right, {4, 4}, {5, 4});
    ASSERT_TRUE(pen.Stamp);
    ChoosePaletteChip(pen, 0, 0);
    EXPECT_FALSE(pen.Stamp);
    EXPECT_EQ(PenStatusText(pen), "現在のチップ:0000");
}

TEST_F(TileToolEditing, OtherScreenModesSelectTakeAndPasteNothing)
{
    fixture.stage.ScreenMode = 1;
    const std::vector<uint8_t> before = fixture.rom.bytes();
    drag(MouseButton::Left, {1, 1}, {3, 3}, true);
    drag(MouseButton::Right, {1, 1}, {3, 3});
    MapEditor map = editor();
    map.tiles().paste(SingleCellBlock(5), {0, 0});
    map.tiles().fill();
    EXPECT_FALSE(tools.Selection);
    EXPECT_FALSE(pen.Stamp);
    EXPECT_FALSE(tools.Floating);
    EXPECT_EQ(fixture.rom.bytes(), before);
}

} // namespace
} // namespace tamo
