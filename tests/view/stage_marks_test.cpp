#include "qtcommon/qt_canvas.h"
#include "tests/view/view_test_support.h"
#include "view/stage_marks.h"
#include "view/stage_renderer.h"

#include <gtest/gtest.h>

namespace tamo {
namespace {

using test::RecordingCanvas;
using test::StageFixture;
using Kind = RecordingCanvas::Kind;

class StageMarks : public testing::Test
{
protected:
    StageMarks() { canvas.resize(fixture.stage.MapWidth * 32, 512); }

    std::vector<RecordingCanvas::Call> copies() const { return canvas.ofKind(Kind::Copy); }
    std::vector<RecordingCanvas::Call> texts() const { return canvas.ofKind(Kind::Text); }

    StageFixture fixture{20, 0x0100};
    RecordingCanvas canvas;
};

TEST_F(StageMarks, SpriteOfParamOneUsesCellZeroAndRedLabels)
{
    fixture.setSprites({{1, 0x0100 + 64, 0, 0x00AB}});
    DrawSpriteMarks(fixture.scene(canvas));
    ASSERT_EQ(copies().size(), 1u);
    EXPECT_EQ(copies()[0].sourceX, 0);
    EXPECT_EQ(copies()[0].sourceY, 0);
    EXPECT_EQ(copies()[0].x, 64);
    EXPECT_EQ(copies()[0].y, 480);
    EXPECT_EQ(copies()[0].mode, CopyMode::Plain);
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[0].text, "#0");
    EXPECT_EQ(texts()[0].x, 68);
    EXPECT_EQ(texts()[0].y, 484);
    EXPECT_EQ(texts()[1].text, "00AB");
    EXPECT_EQ(texts()[1].x, 68);
    EXPECT_EQ(texts()[1].y, 496);
    for (const auto &text : texts()) {
        EXPECT_EQ(text.style.color, (Rgb{255, 0, 0}));
        EXPECT_EQ(text.style.background, (Rgb{0, 0, 0}));
        EXPECT_EQ(text.style.pointSize, 8);
    }
}

TEST_F(StageMarks, OtherSpritesUseCellThreeInFuchsiaAndCountFromZero)
{
    fixture.setSprites({{1, 0x200, 100, 0x1234}, {7, 0x300, 200, 0xBEEF}});
    DrawSpriteMarks(fixture.scene(canvas));
    ASSERT_EQ(copies().size(), 2u);
    EXPECT_EQ(copies()[1].sourceX, 96);
    EXPECT_EQ(copies()[1].x, 0x300 - 0x100);
    EXPECT_EQ(copies()[1].y, 512 - 200 - 32);
    ASSERT_EQ(texts().size(), 4u);
    EXPECT_EQ(texts()[2].text, "#1");
    EXPECT_EQ(texts()[3].text, "BEEF");
    EXPECT_EQ(texts()[3].style.color, (Rgb{255, 0, 255}));
}

TEST_F(StageMarks, ListStartingWithParamZeroDrawsNothing)
{
    fixture.setSprites({});
    DrawSpriteMarks(fixture.scene(canvas));
    EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(StageMarks, MarksUseTilemapStartItselfNotItsColumn)
{
    fixture.stage.TilemapStart = 0x0110; // column 8, 16 pixels into it
    fixture.setSprites({{1, 0x0140, 0, 0}});
    fixture.setCameras({{0x0140, 100}});
    DrawMarks(fixture.scene(canvas));
    EXPECT_EQ(copies()[0].x, 0x30);
    EXPECT_EQ(copies()[1].x, 0x30);
}

TEST_F(StageMarks, CameraMarkStandsOnItsPointCountedFromTheTop)
{
    fixture.setCameras({{0x0150, 0x0060}, {0x0180, 0x0020}});
    DrawCameraMarks(fixture.scene(canvas));
    ASSERT_EQ(copies().size(), 2u);
    EXPECT_EQ(copies()[0].sourceX, 64);
    EXPECT_EQ(copies()[0].x, 0x50);
    EXPECT_EQ(copies()[0].y, 0x60 - 32);
    EXPECT_EQ(copies()[1].y, 0x20 - 32);
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[1].text, "#1");
    EXPECT_EQ(texts()[1].x, 0x80 + 4);
    EXPECT_EQ(texts()[1].y, 0x20 - 32 + 4);
    EXPECT_EQ(texts()[1].style.color, (Rgb{0, 255, 0}));
}

TEST_F(StageMarks, CameraListEndsAtAnyCoordinateOfFFFF)
{
    fixture.setCameras({{0x0150, 0x0060}, {0x0160, 0xFFFF}, {0x0170, 0x0070}});
    DrawCameraMarks(fixture.scene(canvas));
    EXPECT_EQ(copies().size(), 1u);

    canvas.calls.clear();
    fixture.setCameras({{0xFFFF, 0x0060}, {0x0170, 0x0070}});
    DrawCameraMarks(fixture.scene(canvas));
    EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(StageMarks, StartMarkIsYellowAndDrawnLast)
{
    fixture.stage.StartX = 0x0180;
    fixture.stage.StartY = 0x0040;
    fixture.setSprites({{1, 0x0180, 0x0040, 1}});
    fixture.setCameras({{0x0180, 512 - 0x40}});
    DrawMarks(fixture.scene(canvas));
    ASSERT_EQ(copies().size(), 3u);
    EXPECT_EQ(copies()[2].sourceX, 32);
    EXPECT_EQ(copies()[2].x, 0x80);
    EXPECT_EQ(copies()[2].y, 512 - 0x40 - 32);
    // All three at one place: sprite, camera, then the start mark on top.
    EXPECT_EQ(copies()[0].y, copies()[2].y);
    EXPECT_EQ(copies()[1].y, copies()[2].y);
    EXPECT_EQ(copies()[0].sourceX, 0);
    EXPECT_EQ(copies()[1].sourceX, 64);
    const RecordingCanvas::Call label = texts().back();
    EXPECT_EQ(label.text, "Start");
    EXPECT_EQ(label.x, 0x80 + 4);
    EXPECT_EQ(label.style.color, (Rgb{255, 255, 0}));
    EXPECT_EQ(canvas.calls.back().kind, Kind::Text);
}

TEST_F(StageMarks, SwitchesTurnTheirKindOff)
{
    fixture.setSprites({{1, 0x200, 100, 1}});
    fixture.setCameras({{0x200, 100}});
    fixture.switches.ShowCameraMarks = false;
    DrawMarks(fixture.scene(canvas));
    ASSERT_EQ(copies().size(), 2u);
    EXPECT_EQ(copies()[0].sourceX, 0);
    EXPECT_EQ(copies()[1].sourceX, 32);

    canvas.calls.clear();
    fixture.switches = {false, true, false};
    DrawMarks(fixture.scene(canvas));
    ASSERT_EQ(copies().size(), 1u);
    EXPECT_EQ(copies()[0].sourceX, 64);
}

TEST_F(StageMarks, SwitchingCamerasOffRedrawsTilesUnderTheOtherMarks)
{
    fixture.setSprites({{1, 0x200, 100, 1}});
    fixture.setCameras({{0x200, 100}});
    fixture.switches.ShowCameraMarks = false;
    RedrawStage(fixture.scene(canvas));
    const size_t cells = size_t(fixture.stage.MapWidth) * 16;
    ASSERT_EQ(canvas.calls.size(), cells + 3 + 2);
    for (size_t i = 0; i < cells; ++i) {
        EXPECT_EQ(canvas.calls[i].kind, Kind::Copy);
        EXPECT_EQ(canvas.calls[i].source, fixture.chips.get());
    }
    EXPECT_EQ(canvas.calls[cells].source, fixture.marks.get()); // sprite mark after every tile
    EXPECT_EQ(canvas.calls[cells].sourceX, 0);
    EXPECT_EQ(canvas.calls[cells + 3].sourceX, 32); // then the start mark
}

TEST_F(StageMarks, NoMarksInScreenModesOneAndTwo)
{
    fixture.setSprites({{1, 0x200, 100, 1}});
    fixture.setCameras({{0x200, 100}});
    for (int mode : {1, 2}) {
        fixture.stage.ScreenMode = mode;
        DrawMarks(fixture.scene(canvas));
        RedrawStage(fixture.scene(canvas));
    }
    EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(StageMarks, ListsWithoutTerminatorStopAtTheEndOfTheImage)
{
    // Records right up to the last byte, no terminator beyond.
    fixture.stage.SpriteListOffset = StageFixture::RomSize - 16;
    for (int64_t at = fixture.stage.SpriteListOffset; at < StageFixture::RomSize; at += 2)
        fixture.rom.writeWord(at, 0x0101, "test");
    fixture.stage.CameraBlockOffset = StageFixture::RomSize - 8 - 6;
    DrawMarks(fixture.scene(canvas));
    EXPECT_EQ(copies().size(), 2u + 1u + 1u);
}

TEST_F(StageMarks, RunningOutOfResourcesStopsOnlyThatPass)
{
    fixture.setSprites({{1, 0x200, 100, 1}, {1, 0x220, 100, 2}});
    fixture.setCameras({{0x200, 100}});
    canvas.failAtCall = 1; // the first sprite's first label
    DrawMarks(fixture.scene(canvas));
    ASSERT_EQ(copies().size(), 3u);
    EXPECT_EQ(copies()[0].sourceX, 0);
    EXPECT_EQ(copies()[1].sourceX, 64);
    EXPECT_EQ(copies()[2].sourceX, 32);
}

TEST_F(StageMarks, SmallMarkBitmapKeepsItsLabels)
{
    fixture.marks = std::make_unique<QtPicture>(test::makeChipImage(32).copy(0, 0, 64, 32));
    fixture.setCameras({{0x200, 100}});
    DrawCameraMarks(fixture.scene(canvas));
    EXPECT_TRUE(copies().empty());
    EXPECT_EQ(texts().size(), 1u);
}

// The real canvas: the mark cell replaces the tiles beneath it, and is clipped at the
// image's edges.
TEST(StageMarkPixels, MarkCellIsCopiedOpaqueAndClipped)
{
    StageFixture fixture{4, 0x0100};
    fixture.switches = {false, true, false};
    fixture.setCameras({{0x0100 + 40, 50}, {0x0100 - 10, 20}});
    QtCanvas canvas;
    canvas.resize(4 * 32, 512);
    DrawTileMap(fixture.scene(canvas));
    DrawCameraMarks(fixture.scene(canvas));
    const QImage &image = canvas.bitmap();
    // Away from the label box (which starts 4 pixels in), the mark's own pixels.
    for (int j : {0, 2, 31}) {
        for (int i : {0, 3, 31})
            EXPECT_EQ(image.pixel(40 + i, 18 + j), test::markPixel(2, i, j));
    }
    // The second camera stands 10 pixels left of the image: its columns 10 on are shown.
    EXPECT_EQ(image.pixel(0, 19), test::markPixel(2, 10, 31));
    EXPECT_EQ(image.pixel(21, 19), test::markPixel(2, 31, 31));
    EXPECT_EQ(image.pixel(22, 19), test::tilePixel(0, 22, 19));
    EXPECT_EQ(image.pixel(0, 20), test::tilePixel(0, 0, 20));
}

} // namespace
} // namespace tamo
