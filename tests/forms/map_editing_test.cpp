#include "tests/forms/main_window_test_support.h"

#include "core/stage.h"
#include "forms/UnitChip.h"
#include "view/map_pen.h"

#include <QPaintEvent>
#include <QScrollArea>
#include <QScrollBar>

namespace {

// Records the areas the stage image repaints.
class PaintRecorder : public QObject
{
public:
    explicit PaintRecorder(QWidget *widget) { widget->installEventFilter(this); }

    QRegion painted;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

class MapEditingTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        openDemoRom();
        ASSERT_EQ(session().Stage.ScreenMode, 0);
        ASSERT_GE(session().Stage.MapWidth, 4);
    }


    // Puts a known word into a cell and shows it, so that a paint can be seen.
    static void setCell(int column, int row, uint16_t word)
    {
        patchWord(cellOffset(column, row), word, EditScope::TileMap);
    }

    // The 32 x 32 pixels of cell (column, row) as shown, and the pixels of a tile word:
    // chip number in bits 0-13, left-right flip in bit 14, top-bottom flip in bit 15.
    static QImage shownCell(int column, int row)
    {
        return shownImage().copy(column * 32, row * 32, 32, 32).convertToFormat(QImage::Format_RGB32);
    }
    QImage chipCell(uint16_t word) const
    {
        return chipPixels(word & 0x3FFF, word & 0x4000, word & 0x8000);
    }
};

TEST_F(MapEditingTest, ALeftPressPaintsThePenIntoTheCellUnderThePointer)
{
    choosePenChip(0x13);
    setCell(1, 2, 0x0001);

    QTest::mousePress(imageMain(), Qt::LeftButton, {}, QPoint(40, 70));
    EXPECT_EQ(cellWord(1, 2), 0x0013);
    EXPECT_EQ(statusPanel(0), QStringLiteral("X:1,Y:2"));
    EXPECT_EQ(statusPanel(1), QStringLiteral("現在のチップ:0013"));
    EXPECT_EQ(shownCell(1, 2), chipCell(0x0013));
    QTest::mouseRelease(imageMain(), Qt::LeftButton, {}, QPoint(40, 70));
    EXPECT_FALSE(session().Pen.Painting);
}

TEST_F(MapEditingTest, APaintedCellRepaintsOnlyItsOwnRectangle)
{
    choosePenChip(0x02);
    setCell(2, 3, 0x0000);
    QApplication::processEvents();
    PaintRecorder recorder(imageMain());

    QTest::mousePress(imageMain(), Qt::LeftButton, {}, cellCentre(2, 3));
    QApplication::processEvents();
    EXPECT_FALSE(recorder.painted.isEmpty());
    EXPECT_TRUE(recorder.painted.subtracted(QRegion(64, 96, 32, 32)).isEmpty())
        << "repainted " << recorder.painted.boundingRect().width() << " x "
        << recorder.painted.boundingRect().height();
    QTest::mouseRelease(imageMain(), Qt::LeftButton, {}, cellCentre(2, 3));
}

TEST_F(MapEditingTest, ScrollingRepaintsOnlyTheUncoveredStrip)
{
    auto *scrollBox = control<QScrollArea>(FormMain, "ScrollBox1");
    QScrollBar *bar = scrollBox->horizontalScrollBar();
    EXPECT_EQ(bar->singleStep(), 32);
    EXPECT_EQ(scrollBox->verticalScrollBar()->singleStep(), 32);
    ASSERT_GT(bar->maximum(), 64);
    QApplication::processEvents();
    PaintRecorder recorder(imageMain());

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), 32);
    EXPECT_FALSE(recorder.painted.isEmpty());
    EXPECT_LE(recorder.painted.boundingRect().width(), 32);
}

TEST_F(MapEditingTest, AStrokePaintsEveryCellThePointerCrossesWithAPenFlip)
{
    pressKey(Qt::Key_F1);
    const uint16_t pen = tamo::PenTileWord(session().Pen);
    ASSERT_EQ(pen, 0x4000);
    for (int column = 0; column < 4; ++column)
        setCell(column, 5, 0x0003);

    QTest::mousePress(imageMain(), Qt::LeftButton, {}, cellCentre(0, 5));
    QTest::mouseMove(imageMain(), cellCentre(1, 5));
    QTest::mouseMove(imageMain(), cellCentre(3, 5));
    QTest::mouseRelease(imageMain(), Qt::LeftButton, {}, cellCentre(3, 5));
    EXPECT_EQ(cellWord(0, 5), pen);
    EXPECT_EQ(cellWord(1, 5), pen);
    EXPECT_EQ(cellWord(2, 5), 0x0003) << "the pointer never was over this cell";
    EXPECT_EQ(cellWord(3, 5), pen);

    // After the release a move paints nothing.
    QTest::mouseMove(imageMain(), cellCentre(2, 5));
    EXPECT_EQ(cellWord(2, 5), 0x0003);
    EXPECT_EQ(statusPanel(0), QStringLiteral("X:2,Y:5"));
}

TEST_F(MapEditingTest, AStrokeThatLeavesTheImageOnTheLeftPaintsColumnZeroOnlyNearTheEdge)
{
    choosePenChip(0x05);
    setCell(0, 4, 0x0000);
    const std::vector<uint8_t> before = romBytes();

    QTest::mousePress(imageMain(), Qt::LeftButton, {}, cellCentre(1, 4));
    setCell(1, 4, 0x0000);
    const std::vector<uint8_t> afterPress = romBytes();
    QTest::mouseMove(imageMain(), QPoint(-40, 4 * 32 + 16));
    EXPECT_EQ(romBytes(), afterPress) << "40 pixels left of the image is column -1";
    QTest::mouseMove(imageMain(), QPoint(-10, 4 * 32 + 16));
    QTest::mouseRelease(imageMain(), Qt::LeftButton, {}, QPoint(-10, 4 * 32 + 16));

    EXPECT_EQ(cellWord(0, 4), 0x0005) << "10 pixels left of the image still is column 0";
    const std::vector<int64_t> changed = changedOffsets(before, romBytes());
    EXPECT_EQ(changed, (std::vector<int64_t>{cellOffset(0, 4)}));
}

TEST_F(MapEditingTest, AStrokeBeyondTheRightAndBottomEdgesChangesNothingThere)
{
    const int width = session().Stage.MapWidth;
    const int height = session().Stage.MapHeight;
    const std::vector<uint8_t> before = romBytes();
    QTest::mousePress(imageMain(), Qt::LeftButton, {}, cellCentre(width - 1, height - 1));
    const std::vector<uint8_t> afterPress = romBytes();
    QTest::mouseMove(imageMain(), cellCentre(width, height - 1));
    QTest::mouseMove(imageMain(), cellCentre(width - 1, height));
    QTest::mouseRelease(imageMain(), Qt::LeftButton, {}, cellCentre(width - 1, height));
    EXPECT_EQ(romBytes(), afterPress);
    for (int64_t offset : changedOffsets(before, afterPress))
        EXPECT_EQ(offset / 2 * 2, cellOffset(width - 1, height - 1));
}

TEST_F(MapEditingTest, ARightClickPicksThePenFromTheMap)
{
    setCell(3, 1, 0x8005);
    QTest::mouseClick(imageMain(), Qt::RightButton, {}, cellCentre(3, 1));
    EXPECT_EQ(session().Pen.CurrentChip, 5);
    EXPECT_FALSE(session().Pen.HFlip);
    EXPECT_TRUE(session().Pen.VFlip);
    EXPECT_FALSE(FormMain->MapEditHFlip->isChecked());
    EXPECT_TRUE(FormMain->MapEditVFlip->isChecked());
    EXPECT_EQ(statusPanel(0), QStringLiteral("X:3,Y:1"));
    EXPECT_EQ(statusPanel(1), QStringLiteral("現在のチップ:0005 縦反転"));
    EXPECT_EQ(cellWord(3, 1), 0x8005) << "picking writes nothing";

    pressKey(Qt::Key_F1);
    EXPECT_EQ(statusPanel(1), QStringLiteral("現在のチップ:0005 横反転 縦反転"));
    EXPECT_EQ(statusPanel(0), QStringLiteral("X:3,Y:1")) << "a flip leaves the cell panel";
}

TEST_F(MapEditingTest, ARightPressInMidStrokePicksTheChipTheNextMovesPaint)
{
    choosePenChip(0x01);
    setCell(2, 7, 0x0011);
    setCell(3, 7, 0x0000);
    setCell(4, 7, 0x0000);

    QTest::mousePress(imageMain(), Qt::LeftButton, {}, cellCentre(3, 7));
    EXPECT_EQ(cellWord(3, 7), 0x0001);
    QTest::mousePress(imageMain(), Qt::RightButton, Qt::NoModifier, cellCentre(2, 7));
    EXPECT_EQ(session().Pen.CurrentChip, 0x11);
    QTest::mouseMove(imageMain(), cellCentre(4, 7));
    EXPECT_EQ(cellWord(4, 7), 0x0011);
    QTest::mouseRelease(imageMain(), Qt::RightButton, {}, cellCentre(4, 7));
    EXPECT_FALSE(session().Pen.Painting) << "releasing either button ends the stroke";
    QTest::mouseRelease(imageMain(), Qt::LeftButton, {}, cellCentre(4, 7));
}

TEST_F(MapEditingTest, AMiddleButtonChangesNothingButItsReleaseEndsTheStroke)
{
    const std::vector<uint8_t> before = romBytes();
    QTest::mousePress(imageMain(), Qt::MiddleButton, {}, cellCentre(1, 1));
    EXPECT_EQ(romBytes(), before);

    QTest::mousePress(imageMain(), Qt::LeftButton, {}, cellCentre(1, 1));
    ASSERT_TRUE(session().Pen.Painting);
    QTest::mouseRelease(imageMain(), Qt::MiddleButton, {}, cellCentre(1, 1));
    EXPECT_FALSE(session().Pen.Painting);
    QTest::mouseRelease(imageMain(), Qt::LeftButton, {}, cellCentre(1, 1));
}

TEST_F(MapEditingTest, ReleasingTheButtonDrawsTheMarksAgainOverPaintedCells)
{
    const QImage marked = shownImage();
    // Paint over the whole top left corner, then put the same chips back: once the
    // button is released the marks that stood there are back.
    const std::vector<uint8_t> before = romBytes();
    QTest::mousePress(imageMain(), Qt::RightButton, {}, cellCentre(0, 0));
    QTest::mouseRelease(imageMain(), Qt::RightButton, {}, cellCentre(0, 0));
    for (int row = 0; row < session().Stage.MapHeight; ++row) {
        for (int column = 0; column < 4; ++column) {
            const uint16_t word = cellWord(column, row);
            session().Pen.CurrentChip = word & 0x3FFF;
            session().Pen.HFlip = word & 0x4000;
            session().Pen.VFlip = word & 0x8000;
            QTest::mousePress(imageMain(), Qt::LeftButton, {}, cellCentre(column, row));
            QTest::mouseRelease(imageMain(), Qt::LeftButton, {}, cellCentre(column, row));
        }
    }
    EXPECT_EQ(romBytes(), before);
    EXPECT_EQ(shownImage(), marked);
}

TEST_F(MapEditingTest, SwitchingCameraMarksOffRedrawsTheTilesWithoutThem)
{
    const QImage withCameras = shownImage();
    pressKey(Qt::Key_F4);
    EXPECT_FALSE(FormMain->ViewCameraMark->isChecked());
    EXPECT_FALSE(session().MarkSwitches.ShowCameraMarks);
    const QImage withoutCameras = shownImage();
    EXPECT_NE(withoutCameras, withCameras) << "the demo stage has camera marks";
    pressKey(Qt::Key_F4);
    EXPECT_TRUE(FormMain->ViewCameraMark->isChecked());
    EXPECT_EQ(shownImage(), withCameras);
}

TEST_F(MapEditingTest, MovesOverTheImageShowTheCellAndThePen)
{
    QTest::mouseMove(imageMain(), QPoint(12 * 32 + 3, 3 * 32 + 31));
    EXPECT_EQ(statusPanel(0), QStringLiteral("X:12,Y:3"));
    EXPECT_EQ(statusPanel(1), QStringLiteral("現在のチップ:0000"));
}

} // namespace
