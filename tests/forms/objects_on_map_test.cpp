#include "tests/forms/main_window_test_support.h"

#include "forms/UnitCameraEdit.h"
#include "forms/UnitLevelSetting.h"
#include "forms/UnitSpriteEdit.h"

#include <QHelpEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>
#include <QUndoStack>

#include <fstream>
#include <iterator>

namespace {

// The map in "Move objects" mode on the demo ROM's stage 22: a map of 16 rows starting at
// X 0, sprite 1 at (728, 128), camera 1 at (992, 64) and the start point at (72, 160).
class ObjectsOnMapTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        openDemoRom();
        ASSERT_EQ(session().LevelNumber, 22);
        ASSERT_EQ(session().Stage.MapHeight, 16);
        ASSERT_EQ(session().Stage.TilemapStart, 0);
        activate(FormMain);
        pressKey(Qt::Key_S);
        ASSERT_TRUE(FormMain->ToolMoveObjects->isChecked());
    }

    // Where the records lie, worked out here from the pointer tables.
    static int64_t spriteAt(int index)
    {
        const tamo::OffsetTable &o = session().OffsetTable;
        return romWord(o.Sprite + 2 * 22) + int64_t(o.BaseSprite) + 8 * index;
    }
    static int64_t cameraAt(int index)
    {
        const tamo::OffsetTable &o = session().OffsetTable;
        // The records follow the block's first eight bytes, which start four bytes before
        // the pointer.
        return romWord(o.Camera + 2 * 22) + int64_t(o.BaseCamera) - 4 + 8 + 4 * index;
    }
    static int64_t startAt() { return session().OffsetTable.StartPoint + 4 * 22; }

    // A mark's 32 x 32 square on the image of this 512-pixel-high map: sprite and start Y
    // count up from the bottom, camera Y down from the top.
    static QPoint upwardMarkCentre(int x, int y) { return {x + 16, 512 - y - 32 + 16}; }
    static QPoint downwardMarkCentre(int x, int y) { return {x + 16, y - 32 + 16}; }

    static void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mousePress(imageMain(), Qt::LeftButton, modifiers, from);
        QTest::mouseEvent(QTest::MouseMove, imageMain(), Qt::NoButton, modifiers, (from + to) / 2);
        QTest::mouseEvent(QTest::MouseMove, imageMain(), Qt::NoButton, modifiers, to);
        QTest::mouseRelease(imageMain(), Qt::LeftButton, modifiers, to);
    }

    uint16_t savedWord(int64_t at) const
    {
        FormMain->Files->SaveRom();
        std::ifstream file(demoRom().toStdString(), std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        return uint16_t(bytes.at(size_t(at)) | bytes.at(size_t(at) + 1) << 8);
    }

    static QListWidget *spriteList() { return control<QListWidget>(FormSpriteEdit, "ListBoxSprite"); }
    static QListWidget *cameraList() { return control<QListWidget>(FormCameraEdit, "ListBoxCamera"); }
    static QRgb shownPixel(QPoint at) { return shownImage().pixel(at) & 0xFFFFFF; }
    static constexpr QRgb FrameColour = 0xFF7800;
};

TEST_F(ObjectsOnMapTest, ASpriteDraggedHundredPixelsRightChangesItsXOnlyAndUndoesToTheOldBytes)
{
    ASSERT_EQ(romWord(spriteAt(1) + 2), 728);
    ASSERT_EQ(romWord(spriteAt(1) + 4), 128);
    ASSERT_FALSE(FormSpriteEdit->isVisible());
    const std::vector<uint8_t> before = romBytes();
    const QPoint mark = upwardMarkCentre(728, 128);

    drag(mark, mark + QPoint(100, 0));

    // The press selected the sprite: its editor came up with the line chosen.
    EXPECT_TRUE(FormSpriteEdit->isVisible());
    EXPECT_EQ(selectedLine(spriteList()), 1);
    EXPECT_EQ(changedOffsets(before, romBytes()), (std::vector<int64_t>{spriteAt(1) + 2, spriteAt(1) + 3}));
    EXPECT_EQ(romWord(spriteAt(1) + 2), 828);
    EXPECT_EQ(control<QLineEdit>(FormSpriteEdit, "EditPosX")->text(), QStringLiteral("828"));
    EXPECT_EQ(control<QLineEdit>(FormSpriteEdit, "EditPosY")->text(), QStringLiteral("128"));
    EXPECT_EQ(FormMain->EditUndo->text(), QStringLiteral("Undo Move Sprite #1"));
    EXPECT_EQ(savedWord(spriteAt(1) + 2), 828);

    pressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(romBytes(), before);
    EXPECT_EQ(control<QLineEdit>(FormSpriteEdit, "EditPosX")->text(), QStringLiteral("728"));
}

TEST_F(ObjectsOnMapTest, ACameraMovesDownWithItsYAndTheStartPointUpWithItsY)
{
    const std::vector<uint8_t> before = romBytes();
    drag(downwardMarkCentre(992, 64), downwardMarkCentre(992, 64) + QPoint(3, 40));
    EXPECT_EQ(selectedLine(cameraList()), 1);
    EXPECT_EQ(changedOffsets(before, romBytes()), (std::vector<int64_t>{cameraAt(1), cameraAt(1) + 2}));
    EXPECT_EQ(romWord(cameraAt(1)), 995);
    EXPECT_EQ(romWord(cameraAt(1) + 2), 104);
    EXPECT_EQ(savedWord(cameraAt(1)), 995);

    // Shift snaps the start point's X and Y to multiples of 8.
    const std::vector<uint8_t> beforeStart = romBytes();
    drag(upwardMarkCentre(72, 160), upwardMarkCentre(72, 160) + QPoint(101, -19), Qt::ShiftModifier);
    EXPECT_EQ(changedOffsets(beforeStart, romBytes()), (std::vector<int64_t>{startAt(), startAt() + 2}));
    EXPECT_EQ(romWord(startAt()), 176);
    EXPECT_EQ(romWord(startAt() + 2), 176);
    EXPECT_EQ(savedWord(startAt()), 176);
    // The settings dialog shows the new start point when it next opens.
    FormLevelSetting->open();
    EXPECT_EQ(control<QLineEdit>(FormLevelSetting, "EditStartX")->text(), QStringLiteral("176"));
    EXPECT_EQ(control<QLineEdit>(FormLevelSetting, "EditStartY")->text(), QStringLiteral("176"));
    FormLevelSetting->reject();

    pressKey(Qt::Key_Z, Qt::ControlModifier);
    pressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(romBytes(), before);
}

TEST_F(ObjectsOnMapTest, APressWithoutAMoveOrOffTheMarksWritesNothingAndNeverPaints)
{
    const std::vector<uint8_t> before = romBytes();
    const QPoint mark = upwardMarkCentre(728, 128);
    drag(mark, mark);
    EXPECT_EQ(session().Selection->object(), (tamo::MapObject{tamo::ObjectKind::Sprite, 1}));
    // Over the empty map the left button and the right button leave every cell as it was.
    drag(cellCentre(3, 2), cellCentre(9, 2));
    QTest::mouseClick(imageMain(), Qt::RightButton, {}, cellCentre(3, 2));
    EXPECT_EQ(session().Selection->object(), std::nullopt);
    EXPECT_EQ(romBytes(), before);
    EXPECT_EQ(session().Document->history()->count(), 0);

    // Back in "Paint tiles" the right button picks a ground chip and the left one paints
    // it into the sky.
    pressKey(Qt::Key_B);
    EXPECT_TRUE(FormMain->ToolPaintTiles->isChecked());
    QTest::mouseClick(imageMain(), Qt::RightButton, {}, cellCentre(3, 15));
    QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(3, 2));
    EXPECT_EQ(session().Document->history()->count(), 1);
}

TEST_F(ObjectsOnMapTest, ArrowKeysNudgeTheSelectedObjectInOneStepWhileItKeepsMoving)
{
    const std::vector<uint8_t> before = romBytes();
    const QPoint mark = upwardMarkCentre(728, 128);
    drag(mark, mark);
    activate(FormMain);
    pressKey(Qt::Key_Right);
    pressKey(Qt::Key_Right);
    pressKey(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(romWord(spriteAt(1) + 2), 730);
    EXPECT_EQ(romWord(spriteAt(1) + 4), 136);
    EXPECT_EQ(session().Document->history()->count(), 1);

    // Another object starts another step.
    drag(downwardMarkCentre(992, 64), downwardMarkCentre(992, 64));
    activate(FormMain);
    pressKey(Qt::Key_Down);
    EXPECT_EQ(romWord(cameraAt(1) + 2), 65);
    EXPECT_EQ(session().Document->history()->count(), 2);

    pressKey(Qt::Key_Z, Qt::ControlModifier);
    pressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(romBytes(), before);
}

TEST_F(ObjectsOnMapTest, AnEditorLineSelectsItsMarkAndTheMapScrollsToItsFrame)
{
    showWindow(FormSpriteEdit);
    EXPECT_EQ(control<QLabel>(FormSpriteEdit, "LabelCount")->text(), QStringLiteral("6 sprites, fixed by the ROM"));
    EXPECT_EQ(control<QLabel>(FormCameraEdit, "LabelCount")->text(), QStringLiteral("4 cameras, fixed by the ROM"));
    // Sprite 5 at (3136, 160), far right of the first screen.
    const QPoint corner(3136, 512 - 160 - 32);
    EXPECT_NE(shownPixel(corner), FrameColour);

    clickLine(spriteList(), 5);

    EXPECT_EQ(session().Selection->object(), (tamo::MapObject{tamo::ObjectKind::Sprite, 5}));
    EXPECT_EQ(shownPixel(corner), FrameColour);
    auto *scroll = control<QScrollArea>(FormMain, "ScrollBox1");
    const QRect seen(scroll->horizontalScrollBar()->value(), scroll->verticalScrollBar()->value(),
                     scroll->viewport()->width(), scroll->viewport()->height());
    EXPECT_TRUE(seen.contains(QRect(corner, QSize(32, 32)))) << seen.x() << "," << seen.y();

    // Esc in objects mode drops the selection and its frame.
    activate(FormMain);
    pressKey(Qt::Key_Escape);
    EXPECT_EQ(session().Selection->object(), std::nullopt);
    EXPECT_NE(shownPixel(corner), FrameColour);
}

TEST_F(ObjectsOnMapTest, OnlyMarksThatAreShownArePickedAndASpriteMarkTellsItsLine)
{
    const QPoint mark = upwardMarkCentre(728, 128);
    QHelpEvent help(QEvent::ToolTip, mark, imageMain()->mapToGlobal(mark));
    QApplication::sendEvent(imageMain(), &help);
    const QString name = QString::fromUtf8("やかん");
    EXPECT_EQ(QToolTip::text(), QStringLiteral("1:%1-%2:").arg(romWord(spriteAt(1)), 4, 16, QLatin1Char('0'))
                                    .arg(romWord(spriteAt(1) + 6), 4, 16, QLatin1Char('0')).toUpper() + name);

    // A selected sprite whose marks go off keeps no frame and no arrow keys, and is not
    // picked again.
    drag(mark, mark);
    const QPoint corner(728, 512 - 128 - 32);
    EXPECT_EQ(shownPixel(corner), FrameColour);
    pressKey(Qt::Key_F3);
    EXPECT_NE(shownPixel(corner), FrameColour);
    pressKey(Qt::Key_Right);
    drag(mark, mark + QPoint(50, 0));
    EXPECT_EQ(session().Selection->object(), std::nullopt);
    EXPECT_EQ(romWord(spriteAt(1) + 2), 728);
}

TEST_F(ObjectsOnMapTest, TheModeIsKeptAcrossRunsAndTheStatusBarNamesTheStagesSharingTheMap)
{
    std::vector<int32_t> sharing;
    for (int32_t level = 0; level < tamo::LevelCount; ++level) {
        if (level != 22 && fgTilemapOf(level) == fgTilemapOf(22))
            sharing.push_back(level);
    }
    ASSERT_GT(sharing.size(), 8u);
    QString listed;
    for (size_t i = 0; i < 8; ++i)
        listed += (i ? QStringLiteral(", ") : QString()) + QString::number(sharing[i]);
    const QString text = QStringLiteral("tile map shared with stages %1 and %2 more").arg(listed).arg(sharing.size() - 8);
    EXPECT_EQ(control<QLabel>(FormMain, "StatusBar1Panel3")->text(), text);
    pressKey(Qt::Key_B);
    QTest::mouseClick(imageMain(), Qt::RightButton, {}, cellCentre(3, 15));
    QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(3, 2));
    EXPECT_EQ(FormMain->EditUndo->text(), QStringLiteral("Undo Paint 1 cell (%1)").arg(text));

    pressKey(Qt::Key_S);
    restart();
    EXPECT_TRUE(FormMain->ToolMoveObjects->isChecked());
    EXPECT_FALSE(FormMain->ToolPaintTiles->isChecked());
}

} // namespace
