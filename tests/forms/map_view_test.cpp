#include "tests/forms/main_window_test_support.h"

#include "core/stage.h"
#include "forms/stage_image.h"
#include "tests/support/halved_picture.h"
#include "tests/support/stage_bytes.h"
#include "view/map_zoom.h"
#include "view/object_marks.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

using tamo::MapZoom;

// Zoom, grid and screen lines, and Export Image, on the demo ROM's stage 22 (120 columns).
class MapViewTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        openDemoRom();
        ASSERT_EQ(session().Stage.ScreenMode, 0);
    }

    static StageImage *stageImage() { return control<StageImage>(FormMain, "ImageMain"); }
    static QScrollArea *scrollBox() { return control<QScrollArea>(FormMain, "ScrollBox1"); }
    static MapZoom zoom() { return stageImage()->zoom(); }
    // The view pixel that shows an image pixel at the zoom of the moment.
    static QPoint inView(int x, int y) { return {zoom().toView(x), zoom().toView(y)}; }
    static QPoint cellCentreInView(int column, int row) { return inView(column * 32 + 16, row * 32 + 16); }


    // A wheel turn of notches at a point of the scroll box's viewport, which the image
    // leaves its wheel events to.
    static void turnWheel(QPoint atViewport, int notches, Qt::KeyboardModifiers modifiers)
    {
        QWidget *viewport = scrollBox()->viewport();
        QWheelEvent wheel(atViewport, viewport->mapToGlobal(atViewport), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    }

    // A move without a button reaches what lies under the pointer on the screen: the point
    // is scrolled into view first.
    static void hover(QPoint inImage)
    {
        scrollBox()->ensureVisible(inImage.x(), inImage.y(), 4, 4);
        QTest::mouseMove(imageMain(), inImage);
    }
};

TEST_F(MapViewTest, TheKeysStepTheZoomAndTheStatusBarAndScrollStepsFollow)
{
    const int width = session().Stage.MapWidth * 32;
    QScrollBar *bar = scrollBox()->horizontalScrollBar();
    EXPECT_EQ(statusPanel(2), QStringLiteral("100%"));
    struct Step
    {
        Qt::Key key;
        const char *text;
        int numerator, denominator;
    };
    const Step steps[] = {
        {Qt::Key_Minus, "50%", 1, 2},  {Qt::Key_Minus, "25%", 1, 4},  {Qt::Key_Minus, "12.5%", 1, 8},
        {Qt::Key_Minus, "12.5%", 1, 8}, {Qt::Key_0, "100%", 1, 1},     {Qt::Key_Equal, "200%", 2, 1},
        {Qt::Key_Plus, "300%", 3, 1},   {Qt::Key_Equal, "400%", 4, 1}, {Qt::Key_Equal, "400%", 4, 1},
        {Qt::Key_0, "100%", 1, 1},
    };
    for (const Step &step : steps) {
        pressKey(step.key, Qt::ControlModifier);
        EXPECT_EQ(statusPanel(2), QString::fromLatin1(step.text));
        EXPECT_EQ(imageMain()->width(), width * step.numerator / step.denominator) << step.text;
        EXPECT_EQ(imageMain()->height(), 512 * step.numerator / step.denominator) << step.text;
        EXPECT_EQ(bar->singleStep(), 32 * step.numerator / step.denominator) << "one cell a step";
    }
    EXPECT_EQ(statusPanel(0), QString()) << "zooming leaves the cell panel";
}

// Painting, picking, the status texts and a stroke that leaves the image work on image
// pixels at every zoom.
TEST_F(MapViewTest, PaintingPickingAndTheStatusBarAtAnEighthAndAtFour)
{
    for (const char *setting : {"1/8", "4"}) {
        SCOPED_TRACE(setting);
        stageImage()->setZoom(MapZoom::FromSetting(setting));
        session().Pen.CurrentChip = 0x13;
        session().Pen.HFlip = false;
        session().Pen.VFlip = false;
        for (int column = 0; column < 8; ++column)
            patchWord(cellOffset(column, 6), 0x0001, EditScope::TileMap);
        const std::vector<uint8_t> before = romBytes();

        // The last image pixel of cell (5, 6) lies in the view pixel at its bottom-right corner.
        QTest::mousePress(imageMain(), Qt::LeftButton, {}, inView(5 * 32 + 31, 6 * 32 + 31));
        EXPECT_EQ(cellWord(5, 6), 0x0013);
        EXPECT_EQ(statusPanel(0), QStringLiteral("X:5,Y:6"));
        // The painted cell as shown: each chip pixel a square of 4, or the chip reduced by 8.
        const QRect shownCell(inView(5 * 32, 6 * 32), QSize(zoom().toView(32), zoom().toView(32)));
        const QImage shown = imageMain()->grab(shownCell).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage chip = chipPixels(0x13, false, false);
        const QImage expected = zoom().numerator() == 4
                                    ? chip.scaled(128, 128, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                    : tamo::test::HalvedPicture(tamo::test::HalvedPicture(tamo::test::HalvedPicture(chip)));
        EXPECT_TRUE(shown == expected);

        QTest::mouseMove(imageMain(), cellCentreInView(6, 6));
        QTest::mouseMove(imageMain(), inView(-40, 6 * 32 + 16));
        QTest::mouseMove(imageMain(), inView(-10, 6 * 32 + 16));
        QTest::mouseRelease(imageMain(), Qt::LeftButton, {}, inView(-10, 6 * 32 + 16));
        EXPECT_EQ(cellWord(6, 6), 0x0013);
        EXPECT_EQ(cellWord(0, 6), 0x0013) << "10 image pixels left of the image is still column 0";
        const std::vector<int64_t> changed = changedOffsets(before, romBytes());
        EXPECT_EQ(changed, (std::vector<int64_t>{cellOffset(0, 6), cellOffset(5, 6), cellOffset(6, 6)}));

        patchWord(cellOffset(3, 1), 0x8005, EditScope::TileMap);
        QTest::mouseClick(imageMain(), Qt::RightButton, {}, cellCentreInView(3, 1));
        EXPECT_EQ(session().Pen.CurrentChip, 5);
        EXPECT_TRUE(session().Pen.VFlip);
        EXPECT_EQ(statusPanel(1), QStringLiteral("現在のチップ:0005 縦反転"));
        hover(inView(12 * 32 + 3, 3 * 32 + 31));
        EXPECT_EQ(statusPanel(0), QStringLiteral("X:12,Y:3"));
    }
}

// On the widest stage the format allows: the map point under the pointer stays there
// while Ctrl and the wheel zoom in and out; without Ctrl the wheel scrolls.
TEST_F(MapViewTest, CtrlWheelZoomsTheWidestStageAroundThePointer)
{
    patchWord(session().Stage.CameraBlockOffset + 2, 0xFFFF); // TilemapEnd
    ASSERT_EQ(session().Stage.MapWidth, 2055);
    QScrollBar *horizontal = scrollBox()->horizontalScrollBar();
    QScrollBar *vertical = scrollBox()->verticalScrollBar();
    horizontal->setValue(40000);
    vertical->setValue(100);
    // The pointer in the middle of a cell, at a point of the scroll box's viewport.
    const QPoint pointer(208, 112);
    const auto mapPointUnderPointer = [&] {
        return QPointF(pointer - imageMain()->pos()) * zoom().denominator() / zoom().numerator();
    };
    const QPointF mapPoint = mapPointUnderPointer();
    ASSERT_EQ(mapPoint, QPointF(40208, 212));
    const auto cellUnderPointer = [&] {
        QTest::mouseMove(imageMain(), pointer - imageMain()->pos());
        return statusPanel(0);
    };
    const QString cell = cellUnderPointer();
    EXPECT_EQ(cell, QStringLiteral("X:1256,Y:6"));

    const int notches[] = {+1, -1, -1, -1, -1, +1, +1, +1};
    const char *zooms[] = {"2", "1", "1/2", "1/4", "1/8", "1/4", "1/2", "1"};
    // Up and down the point stays only until the image is lower than the view.
    bool heightKept = true;
    for (size_t i = 0; i < std::size(notches); ++i) {
        turnWheel(pointer, notches[i], Qt::ControlModifier);
        EXPECT_EQ(zoom().setting(), zooms[i]);
        heightKept = heightKept && imageMain()->height() > scrollBox()->viewport()->height();
        // Within a view pixel.
        EXPECT_LE(std::abs(mapPointUnderPointer().x() - mapPoint.x()), zoom().denominator()) << zooms[i];
        if (heightKept) {
            EXPECT_LE(std::abs(mapPointUnderPointer().y() - mapPoint.y()), zoom().denominator()) << zooms[i];
            EXPECT_EQ(cellUnderPointer(), cell) << zooms[i];
        }
        EXPECT_EQ(cellUnderPointer().section(',', 0, 0), QStringLiteral("X:1256")) << zooms[i];
    }

    const int scrolled = vertical->value();
    turnWheel(pointer, -1, Qt::NoModifier);
    EXPECT_EQ(zoom().setting(), "1");
    EXPECT_GT(vertical->value(), scrolled) << "a plain wheel scrolls";
}

TEST_F(MapViewTest, GridAndScreenLinesLieOverThePictureNeverInIt)
{
    const QImage plain = shownImage();
    pressKey(Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(FormMain->ViewGrid->isChecked());
    const QImage grid = shownImage();
    int onLines = 0;
    int darkened = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb was = plain.pixel(x, y);
            const QRgb now = grid.pixel(x, y);
            if (x % 32 != 0 && y % 32 != 0) {
                ASSERT_EQ(now, was) << x << ", " << y << " lies inside a cell";
            } else {
                ASSERT_TRUE(qRed(now) <= qRed(was) && qGreen(now) <= qGreen(was) && qBlue(now) <= qBlue(was))
                    << x << ", " << y;
                ++onLines;
                darkened += now != was ? 1 : 0;
            }
        }
    }
    EXPECT_GT(darkened, onLines * 9 / 10);

    pressKey(Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(FormMain->ViewScreenLines->isChecked());
    const QImage screens = shownImage();
    for (int y = 8; y < plain.height(); y += 50) {
        EXPECT_NE(screens.pixel(256, y), grid.pixel(256, y)) << "a screen line at x 256";
        EXPECT_GT(qRed(screens.pixel(512, y)), qBlue(screens.pixel(512, y))) << "in orange";
        EXPECT_EQ(screens.pixel(288, y), grid.pixel(288, y)) << "only cell lines at x 288";
    }

    // At 1/2 the cell lines are 16 view pixels apart.
    pressKey(Qt::Key_Minus, Qt::ControlModifier);
    const QImage half = shownImage();
    pressKey(Qt::Key_G, Qt::ControlModifier);
    const QImage halfWithoutGrid = shownImage();
    EXPECT_NE(half.pixel(16, 5), halfWithoutGrid.pixel(16, 5));
    EXPECT_EQ(half.pixel(24, 5), halfWithoutGrid.pixel(24, 5));

    pressKey(Qt::Key_0, Qt::ControlModifier);
    pressKey(Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(shownImage() == plain) << "switched off, nothing of them is left";
}

TEST_F(MapViewTest, TheZoomAndTheLineSwitchesComeBackInTheNextRun)
{
    pressKey(Qt::Key_Minus, Qt::ControlModifier);
    pressKey(Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
    restart();

    const tamo::IniFile ini = tamo::IniFile::load(dataFile("Config/application.ini"));
    EXPECT_EQ(ini.value("MapView", "Zoom"), "1/2");
    EXPECT_EQ(ini.value("MapView", "Grid"), "0");
    EXPECT_EQ(ini.value("MapView", "ScreenLines"), "1");
    EXPECT_EQ(ini.value("View", "Sprite"), "1") << "the mark switches keep their keys";
    EXPECT_EQ(statusPanel(2), QStringLiteral("50%"));
    EXPECT_FALSE(FormMain->ViewGrid->isChecked());
    EXPECT_TRUE(FormMain->ViewScreenLines->isChecked());
    openDemoRom();
    EXPECT_EQ(imageMain()->width(), session().Stage.MapWidth * 16);
    EXPECT_EQ(scrollBox()->horizontalScrollBar()->singleStep(), 16);
}

// Export Image writes the stage at 1:1 with the marks that are switched on, whatever the
// zoom and the lines, as the view shows it at 1:1 without lines.
TEST_F(MapViewTest, ExportImageWritesTheStageAtOneToOne)
{
    pressKey(Qt::Key_F4);
    pressKey(Qt::Key_Minus, Qt::ControlModifier);
    pressKey(Qt::Key_G, Qt::ControlModifier);
    // A cell painted under the start mark, whose mark is drawn again over it on release.
    const tamo::Stage &stage = session().Stage;
    const int markLeft = tamo::MarkLeft(stage, stage.StartX);
    const int markTop = tamo::MarkTop(stage, tamo::ObjectKind::Start, stage.StartY);
    session().Pen.CurrentChip = 0x21;
    QTest::mouseClick(stageImage(), Qt::LeftButton, {}, inView(markLeft + 16, markTop + 16));
    ASSERT_EQ(cellWord((markLeft + 16) / 32, (markTop + 16) / 32), 0x0021);
    const QImage exported = exportThroughTheDialog("exported");
    ASSERT_FALSE(exported.isNull()) << "exported.png beside the ROM";
    // The closed dialog may stay the active window offscreen: the actions are triggered.
    FormMain->ViewZoomActual->trigger();
    FormMain->ViewGrid->trigger();
    const QImage shown = shownImage();
    EXPECT_EQ(exported.size(), QSize(session().Stage.MapWidth * 32, 512));
    EXPECT_TRUE(exported.convertToFormat(QImage::Format_RGB32) == shown.convertToFormat(QImage::Format_RGB32));

    // Worked out here: each cell that no mark covers shows the chip its word names, taken
    // from the chip bitmap (a mark's labels may reach past its right side); the start mark
    // shows the mark bitmap's cell 1 over the cell painted under it.
    const std::vector<uint8_t> rom = romBytes();
    std::vector<QRect> marked{QRect(markLeft, markTop, 64, 32)};
    for (const tamo::test::RawSprite &sprite :
         tamo::test::spritesAt(rom, tamo::test::spriteListAt(rom, session().OffsetTable, 22)))
        marked.emplace_back(sprite.x - stage.TilemapStart, stage.MapHeight * 32 - sprite.y - 32, 64, 32);
    const QImage picture = exported.convertToFormat(QImage::Format_RGB32);
    int compared = 0;
    for (int column = 0; column < stage.MapWidth; ++column) {
        for (int row = 0; row < stage.MapHeight; ++row) {
            const QRect place(column * 32, row * 32, 32, 32);
            if (std::any_of(marked.begin(), marked.end(), [&](const QRect &mark) { return mark.intersects(place); }))
                continue;
            const uint16_t word = cellWord(column, row);
            EXPECT_TRUE(picture.copy(place) == chipPixels(word & 0x3FFF, word & 0x4000, word & 0x8000))
                << "cell " << column << ", " << row;
            ++compared;
        }
    }
    EXPECT_GT(compared, stage.MapWidth * stage.MapHeight * 3 / 4);
    const QImage marks = QImage(QString::fromStdString(dataFile("Data/mark.bmp").string()))
                             .convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(picture.copy(markLeft, markTop, 32, 4) == marks.copy(32, 0, 32, 4));
}

} // namespace
