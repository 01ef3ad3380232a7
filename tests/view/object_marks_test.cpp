#include "core/map_object.h"
#include "tests/view/view_test_support.h"
#include "view/object_marks.h"

#include <gtest/gtest.h>

namespace tamo {
namespace {

using test::RecordingCanvas;
using test::StageFixture;

// A 10 x 16 stage (320 x 512 pixels) whose first column is map column 8 (TilemapStart 0x100).
class ObjectMarksTest : public testing::Test
{
protected:
    ObjectMarksTest() { canvas.resize(fixture.stage.MapWidth * 32, 512); }

    std::optional<MapObject> objectAt(int x, int y)
    {
        const auto mark = ObjectMarkAt(fixture.scene(canvas), x, y);
        return mark ? std::optional<MapObject>(mark->object) : std::nullopt;
    }

    StageFixture fixture{10, 0x0100};
    RecordingCanvas canvas;
};

constexpr MapObject sprite(int index) { return {ObjectKind::Sprite, index}; }
constexpr MapObject camera(int index) { return {ObjectKind::Camera, index}; }
constexpr MapObject start{ObjectKind::Start, 0};

TEST_F(ObjectMarksTest, SpriteAndStartYCountUpwardCameraYDownward)
{
    // Sprite X 0x140 lies 0x40 right of TilemapStart; Y 0 puts the mark on the bottom row.
    fixture.setSprites({{1, 0x0140, 0, 0x00AB}});
    fixture.setCameras({{0x0150, 100}});
    fixture.stage.StartX = 0x0100 + 200;
    fixture.stage.StartY = 64;
    const std::vector<ObjectMark> marks = ObjectMarks(fixture.scene(canvas));
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0], (ObjectMark{sprite(0), 0x140, 0, 64, 480}));
    EXPECT_EQ(marks[1], (ObjectMark{camera(0), 0x150, 100, 80, 68}));
    EXPECT_EQ(marks[2], (ObjectMark{start, 0x1C8, 64, 200, 416}));
    EXPECT_EQ(objectAt(64, 480), sprite(0));
    EXPECT_EQ(objectAt(95, 511), sprite(0));
    EXPECT_EQ(objectAt(96, 511), std::nullopt);
    EXPECT_EQ(objectAt(63, 500), std::nullopt);
}

TEST_F(ObjectMarksTest, OverlapsPickWhatIsDrawnOnTop)
{
    // Two sprites, a camera and the start point on one another: the start point is drawn
    // last, then the cameras; among sprites the later record lies on top.
    fixture.setSprites({{2, 0x0110, 400, 1}, {2, 0x0118, 400, 2}});
    fixture.setCameras({{0x0120, 112}});
    fixture.stage.StartX = 0x0128;
    fixture.stage.StartY = 390;
    EXPECT_EQ(objectAt(20, 90), sprite(0));  // only the first sprite reaches x 16..23
    EXPECT_EQ(objectAt(30, 90), sprite(1));  // both sprites
    EXPECT_EQ(objectAt(40, 85), camera(0));  // sprites and the camera, above the start point
    EXPECT_EQ(objectAt(45, 100), start);     // all four
    fixture.switches.ShowStartMark = false;
    EXPECT_EQ(objectAt(45, 100), camera(0)) << "a kind switched off cannot be picked";
    fixture.switches.ShowCameraMarks = false;
    EXPECT_EQ(objectAt(45, 100), sprite(1));
}

TEST_F(ObjectMarksTest, MarksAreOnlyPickedWhereTheyLieInsideTheImage)
{
    // TilemapStart 0x10A is no multiple of 32: marks stand 10 pixels further left than the
    // cells they name, and a sprite at X 0x110 reaches 6 pixels into the image.
    fixture.stage.TilemapStart = 0x010A;
    fixture.setSprites({{1, 0x00EC, 0, 1}});
    EXPECT_EQ(ObjectMarks(fixture.scene(canvas)).at(0).left, -30);
    EXPECT_EQ(objectAt(1, 500), sprite(0));
    EXPECT_EQ(objectAt(2, 500), std::nullopt);
    EXPECT_EQ(objectAt(-5, 500), std::nullopt);
    fixture.stage.ScreenMode = 1;
    EXPECT_TRUE(ObjectMarks(fixture.scene(canvas)).empty());
}

TEST_F(ObjectMarksTest, DraggingMovesInPixelsOrSnapsToEightAndNeverEndsTheCameraList)
{
    const Stage &stage = fixture.stage;
    ObjectDrag drag(MarkOf(stage, sprite(0), 0x140, 40), 70, 460);
    drag.moveTo(stage, 73, 450, false);
    EXPECT_EQ(drag.mark(), MarkOf(stage, sprite(0), 0x143, 50)); // up 10 pixels is Y + 10
    drag.moveTo(stage, 73, 450, true);
    EXPECT_EQ(drag.mark(), MarkOf(stage, sprite(0), 0x140, 48));
    drag.moveTo(stage, 70, 460, false);
    EXPECT_FALSE(drag.moved());

    ObjectDrag cameraDrag(MarkOf(stage, camera(2), 0xFFF0, 0xFFF0), 0, 0);
    cameraDrag.moveTo(stage, 100, 100, false);
    EXPECT_EQ(cameraDrag.mark().x, 0xFFFE);
    EXPECT_EQ(cameraDrag.mark().y, 0xFFFE);
    cameraDrag.moveTo(stage, -70000, -70000, true);
    EXPECT_EQ(cameraDrag.mark().x, 0);
    EXPECT_EQ(cameraDrag.mark().y, 0);
    EXPECT_EQ(MovedMark(stage, MarkOf(stage, start, 0xFFFF, 0), 5, 5).x, 0xFFFF);
    EXPECT_EQ(MovedMark(stage, MarkOf(stage, start, 0xFFFF, 0), 5, 5).y, 0);
    EXPECT_EQ(MovedMark(stage, MarkOf(stage, camera(0), 10, 10), 0, -8).y, 2);
}

} // namespace
} // namespace tamo
