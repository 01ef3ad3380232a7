// The overview of the stage shown, on the demo ROM: where its frame stands is worked out
// here from the map view's scroll bars and the sizes of the stage and the window.
#include "tests/forms/main_window_test_support.h"

#include "cli/demo_themes.h"
#include "core/rom_error.h"
#include "forms/UnitOverview.h"

#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr QRgb FrameInside = qRgb(255, 255, 0);
constexpr QSize Room(400, 100);

class OverviewWindowTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        FormMain->resize(600, 400);
        openDemoRom();
        FormOverview->resize(Room);
        showWindow(FormOverview);
    }

    static QScrollArea *box() { return control<QScrollArea>(FormMain, "ScrollBox1"); }
    static QScrollBar *horizontal() { return box()->horizontalScrollBar(); }
    static int stageWidth() { return session().Stage.MapWidth * 32; }
    static int stageHeight() { return session().Stage.MapHeight * 32; }
    // The width of the stage in the overview: the window's, or less where the stage's
    // height would not fit; never more than the stage's own.
    static int overviewWidth()
    {
        return std::min({stageWidth(), Room.width(), stageWidth() * Room.height() / stageHeight()});
    }
    static int overviewHeight() { return stageHeight() * overviewWidth() / stageWidth(); }

    static QImage shownOverview() { return FormOverview->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The overview columns of the frame's two sides for the map view as it is scrolled
    // now, at 1:1: the light line lies one pixel inside the dark one.
    static std::pair<int, int> expectedFrameSides()
    {
        const int left = horizontal()->value();
        const int right = std::min(stageWidth(), left + box()->viewport()->width());
        const int first = left * overviewWidth() / stageWidth();
        const int last = (right * overviewWidth() + stageWidth() - 1) / stageWidth() - 1;
        return {first + 1, last - 1};
    }

    // Whether the column of the overview is the frame's light side over the frame's height.
    static bool lightColumn(const QImage &overview, int x)
    {
        const int top = box()->verticalScrollBar()->value() * overviewHeight() / stageHeight();
        return overview.pixel(x, top + 2) == FrameInside && overview.pixel(x, top + 3) == FrameInside;
    }
};

TEST_F(OverviewWindowTest, TheWholeStageFitsTheWindowAndTheFrameFollowsTheMapView)
{
    ASSERT_GT(stageWidth(), Room.width());
    shownOverview();
    EXPECT_EQ(FormOverview->picture().image().size(), QSize(overviewWidth(), overviewHeight()));
    for (int scrolled : {0, stageWidth() / 3, horizontal()->maximum()}) {
        horizontal()->setValue(scrolled);
        QApplication::processEvents();
        const QImage overview = shownOverview();
        const auto [left, right] = expectedFrameSides();
        EXPECT_TRUE(lightColumn(overview, left)) << "scrolled to " << scrolled;
        EXPECT_TRUE(lightColumn(overview, right)) << "scrolled to " << scrolled;
        if (left >= 3) {
            EXPECT_FALSE(lightColumn(overview, left - 3)) << "scrolled to " << scrolled;
        }
        EXPECT_FALSE(lightColumn(overview, right + 3 < overviewWidth() ? right + 3 : left + 3)) << scrolled;
    }
}

TEST_F(OverviewWindowTest, AClickOrADragThereBringsThatPartIntoTheMiddleOfTheMapView)
{
    // Overview pixel x shows stage pixel (2x + 1) / 2 * stageWidth / overviewWidth.
    const auto centredAt = [](int x) {
        const int stageX = (2 * x + 1) * stageWidth() / (2 * overviewWidth());
        return std::clamp(stageX - box()->viewport()->width() / 2, 0, horizontal()->maximum());
    };
    QTest::mouseClick(FormOverview, Qt::LeftButton, {}, QPoint(overviewWidth() / 2, 5));
    EXPECT_EQ(horizontal()->value(), centredAt(overviewWidth() / 2));
    ASSERT_GT(horizontal()->value(), 0);

    QTest::mousePress(FormOverview, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_EQ(horizontal()->value(), centredAt(30));
    QTest::mouseMove(FormOverview, QPoint(60, 5));
    EXPECT_EQ(horizontal()->value(), centredAt(60));
    QTest::mouseRelease(FormOverview, Qt::LeftButton, {}, QPoint(60, 5));
    // A move without the button held moves nothing.
    QTest::mouseMove(FormOverview, QPoint(90, 5));
    EXPECT_EQ(horizontal()->value(), centredAt(60));

    // The right button is not the user's way to move it.
    QTest::mouseClick(FormOverview, Qt::RightButton, {}, QPoint(200, 5));
    EXPECT_EQ(horizontal()->value(), centredAt(60));
    QApplication::processEvents();
    EXPECT_TRUE(lightColumn(shownOverview(), expectedFrameSides().first));
}

TEST_F(OverviewWindowTest, ThePictureFollowsEditsAndStageLoads)
{
    QApplication::processEvents();
    const QImage before = shownOverview();
    // Column 90 of the map, all rows, made of one chip: the overview columns it covers
    // change, the others keep their pixels.
    const int column = 90;
    ASSERT_GT(session().Stage.MapWidth, column);
    tamo::RomPatch patch;
    for (int row = 0; row < session().Stage.MapHeight; ++row)
        patch.writeWord(cellOffset(column, row), tamo::cli::ChipBrick, "test set-up");
    EditorTest::patch(patch, EditScope::TileMap);
    QApplication::processEvents();
    const QImage after = shownOverview();
    const int inside = (column * 32 + 16) * overviewWidth() / stageWidth();
    EXPECT_NE(after.pixel(inside, overviewHeight() / 2), before.pixel(inside, overviewHeight() / 2));
    EXPECT_EQ(after.copy(0, 0, inside - 8, overviewHeight()), before.copy(0, 0, inside - 8, overviewHeight()));

    // A stage of another size makes a picture of its size.
    const QSize shown = FormOverview->picture().image().size();
    const tamo::StageSource source{session().RomImage, session().OffsetTable, session().OffsetsIni};
    int other = 0;
    for (; other < tamo::LevelCount; ++other) {
        try {
            const tamo::Stage stage = tamo::DecodeStage(source, other, tamo::Stage{});
            if (stage.ScreenMode == 0 && stage.MapWidth != session().Stage.MapWidth)
                break;
        } catch (const tamo::RomRangeError &) {
        }
    }
    ASSERT_LT(other, tamo::LevelCount);
    session().ShowStageOf(other);
    QApplication::processEvents();
    shownOverview();
    EXPECT_EQ(FormOverview->picture().image().size(), QSize(overviewWidth(), overviewHeight()));
    EXPECT_NE(FormOverview->picture().image().size(), shown);
}

} // namespace
