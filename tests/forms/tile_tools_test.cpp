#include "tests/forms/main_window_test_support.h"

#include "core/stage.h"
#include "forms/UnitChip.h"
#include "forms/stage_image.h"
#include "forms/tile_clipboard.h"
#include "view/map_zoom.h"
#include "view/tile_block.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStatusBar>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

// The tile tools in the main window, on the demo ROM's stage 22 whose cell (column, row)
// first holds 0x0100 x column + row for the first 12 columns.
class TileToolsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        openDemoRom();
        ASSERT_EQ(session().Stage.ScreenMode, 0);
        tamo::RomPatch words;
        for (int column = 0; column < 12; ++column) {
            for (int row = 0; row < 16; ++row)
                words.writeWord(cellOffset(column, row), uint32_t(column << 8 | row), "test set-up");
        }
        patch(words, EditScope::TileMap);
    }

    static std::vector<int64_t> offsetsOf(int column, int row, int columns, int rows)
    {
        std::vector<int64_t> offsets;
        for (int c = column; c < column + columns; ++c) {
            for (int r = row; r < row + rows; ++r) {
                offsets.push_back(cellOffset(c, r));
                offsets.push_back(cellOffset(c, r) + 1);
            }
        }
        std::sort(offsets.begin(), offsets.end());
        return offsets;
    }

    static tamo::MapZoom zoom() { return control<StageImage>(FormMain, "ImageMain")->zoom(); }
    static QPoint cellInView(int column, int row)
    {
        return {zoom().toView(column * 32 + 16), zoom().toView(row * 32 + 16)};
    }

    // A drag from cell to cell with the button, and Shift held or not.
    static void drag(Qt::MouseButton button, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mousePress(imageMain(), button, modifiers, cellInView(from.x(), from.y()));
        QTest::mouseMove(imageMain(), cellInView(to.x(), to.y()));
        QTest::mouseRelease(imageMain(), button, modifiers, cellInView(to.x(), to.y()));
    }
    static void select(QPoint from, QPoint to) { drag(Qt::LeftButton, from, to, Qt::ShiftModifier); }
    // The floating block brought over a cell and placed there.
    static void placeAt(int column, int row)
    {
        QTest::mouseMove(imageMain(), cellInView(column, row));
        QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellInView(column, row));
    }

    static void undo() { pressKey(Qt::Key_Z, Qt::ControlModifier); }

    std::vector<uint8_t> fileBytes() const
    {
        std::ifstream in(dataFile("demo.smc"), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(TileToolsTest, FillCutAndDeleteOfTheSelectionAreStepsThatUndoToTheExactBytes)
{
    EXPECT_FALSE(FormMain->EditFill->isEnabled()) << "nothing selected yet";
    select({4, 3}, {1, 2});
    for (QAction *action : {FormMain->EditCut, FormMain->EditCopy, FormMain->EditDelete, FormMain->EditFill})
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
    const std::vector<uint8_t> before = romBytes();
    session().Pen.CurrentChip = 0x21;
    session().Pen.VFlip = true;

    pressKey(Qt::Key_F);
    EXPECT_EQ(changedOffsets(before, romBytes()), offsetsOf(1, 2, 4, 2));
    EXPECT_EQ(cellWord(1, 2), 0x8021);
    EXPECT_EQ(cellWord(4, 3), 0x8021);
    EXPECT_EQ(stepWithoutSharedNote(FormMain->EditUndo->text()), QStringLiteral("Undo Fill 8 cells"));
    undo();
    EXPECT_EQ(romBytes(), before);

    pressKey(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("0102 0202 0302 0402\n0103 0203 0303 0403\n"));
    EXPECT_EQ(changedOffsets(before, romBytes()), offsetsOf(1, 2, 4, 2));
    EXPECT_EQ(cellWord(3, 3), 0x0000);
    EXPECT_EQ(stepWithoutSharedNote(FormMain->EditUndo->text()), QStringLiteral("Undo Cut 8 cells"));
    undo();
    EXPECT_EQ(romBytes(), before);

    pressKey(Qt::Key_Delete);
    EXPECT_EQ(cellWord(2, 2), 0x0000);
    EXPECT_EQ(stepWithoutSharedNote(FormMain->EditUndo->text()), QStringLiteral("Undo Delete 8 cells"));
    undo();
    EXPECT_EQ(romBytes(), before);
    pressKey(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(changedOffsets(before, romBytes()), offsetsOf(1, 2, 4, 2)) << "and redo makes it again";

    pressKey(Qt::Key_Escape);
    EXPECT_FALSE(tileTools().Selection);
    EXPECT_FALSE(FormMain->EditFill->isEnabled());
    const int steps = session().Document->history()->count();
    pressKey(Qt::Key_F);
    EXPECT_EQ(session().Document->history()->count(), steps);
}

// The block goes through the system clipboard, is placed by a click at 1/2 in a stage of
// another tile map, and the saved file holds what was placed.
TEST_F(TileToolsTest, APlatformCopiedInOneStagePastesIntoAnother)
{
    select({1, 2}, {4, 3});
    pressKey(Qt::Key_C, Qt::ControlModifier);
    const int other = stageWithOtherTilemap();
    ASSERT_GE(other, 0);
    session().LevelNumber = other;
    session().LoadStage();
    pressKey(Qt::Key_Minus, Qt::ControlModifier);
    const std::vector<uint8_t> before = romBytes();

    pressKey(Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(tileTools().Floating);
    placeAt(6, 9);
    EXPECT_FALSE(tileTools().Floating);
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(cellWord(6 + column, 9), 0x0102 + 0x0100 * column);
        EXPECT_EQ(cellWord(6 + column, 10), 0x0103 + 0x0100 * column);
    }
    EXPECT_EQ(changedOffsets(before, romBytes()).size(), 16u);
    EXPECT_EQ(stepWithoutSharedNote(FormMain->EditUndo->text()), QStringLiteral("Undo Paste 4 x 2 cells"));

    pressKey(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(fileBytes(), romBytes());
    undo();
    EXPECT_EQ(romBytes(), before);
}

TEST_F(TileToolsTest, BlocksTravelThroughTheClipboardInTheProgramsFormAndAsText)
{
    select({10, 14}, {11, 15});
    pressKey(Qt::Key_C, Qt::ControlModifier);
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(TileBlockMimeType));
    EXPECT_EQ(TileBlockOf(*data).block, (tamo::TileBlock{2, 2, {0x0A0E, 0x0B0E, 0x0A0F, 0x0B0F}}));

    // Rows of words written by another program.
    QGuiApplication::clipboard()->setText(QStringLiteral("0013 4013\n8001 C001\n"));
    pressKey(Qt::Key_V, Qt::ControlModifier);
    placeAt(2, 12);
    EXPECT_EQ(cellWord(2, 12), 0x0013);
    EXPECT_EQ(cellWord(3, 12), 0x4013);
    EXPECT_EQ(cellWord(2, 13), 0x8001);
    EXPECT_EQ(cellWord(3, 13), 0xC001);

    // Text that is no block pastes nothing, and Esc drops a floating block.
    QGuiApplication::clipboard()->setText(QStringLiteral("a platform"));
    pressKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(tileTools().Floating);
    QGuiApplication::clipboard()->setText(QStringLiteral("5"));
    pressKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(tileTools().Floating);
    pressKey(Qt::Key_Escape);
    EXPECT_FALSE(tileTools().Floating);
}

// A paste that cannot be made says why in the status bar and changes nothing; the program's
// own form and the text form refuse the same block with the same words.
TEST_F(TileToolsTest, APasteThatCannotBeMadeSaysWhyInTheStatusBar)
{
    const std::vector<uint8_t> before = romBytes();
    const auto pasteSays = [&](QMimeData *data) {
        FormMain->statusBar()->clearMessage();
        QGuiApplication::clipboard()->setMimeData(data);
        pressKey(Qt::Key_V, Qt::ControlModifier);
        EXPECT_FALSE(tileTools().Floating);
        EXPECT_EQ(romBytes(), before);
        return FormMain->statusBar()->currentMessage();
    };
    const auto asText = [](const std::string &text) {
        auto *data = new QMimeData;
        data->setText(QString::fromStdString(text));
        return data;
    };
    const QString noBlock = QStringLiteral("The clipboard holds no tile block");
    EXPECT_EQ(pasteSays(asText("0013 4013\n8001\n")), noBlock);
    EXPECT_EQ(pasteSays(new QMimeData), noBlock) << "an empty clipboard";

    // 1000 x 2000 words: more than the 2^20 cells the editor takes.
    std::string rows;
    for (int row = 0; row < 2000; ++row) {
        for (int column = 0; column < 1000; ++column)
            rows += column == 0 ? "00A1" : " 00A1";
        rows += '\n';
    }
    const QString tooLarge = QStringLiteral("The clipboard's block of 1000 x 2000 cells is larger than the editor takes "
                                            "(1048576 cells at most, 65535 a side)");
    EXPECT_EQ(pasteSays(asText(rows)), tooLarge);
    auto *own = new QMimeData;
    QByteArray bytes(4 + 2 * 1000 * 2000, '\x01');
    bytes[0] = char(1000 & 0xFF);
    bytes[1] = char(1000 >> 8);
    bytes[2] = char(2000 & 0xFF);
    bytes[3] = char(2000 >> 8);
    own->setData(TileBlockMimeType, bytes);
    EXPECT_EQ(pasteSays(own), tooLarge);
}

// A block of 60,000 x 17 words from another program floats as the 16 rows of the map's
// width that could land, not as a picture of 60,000 x 17 cells.
TEST_F(TileToolsTest, ABlockWiderAndTallerThanTheMapFloatsAndPlacesWhatFits)
{
    const int width = session().Stage.MapWidth;
    const int height = session().Stage.MapHeight;
    ASSERT_LT(width, 60000);
    ASSERT_LT(height, 17);
    const auto wordAt = [](int column, int row) { return uint16_t(0x8000 ^ (column * 17 + row)); };
    std::string text;
    char word[8];
    for (int row = 0; row < 17; ++row) {
        for (int column = 0; column < 60000; ++column) {
            std::snprintf(word, sizeof word, column == 0 ? "%04x" : " %04x", unsigned(wordAt(column, row)));
            text += word;
        }
        text += '\n';
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    const std::vector<uint8_t> before = romBytes();

    pressKey(Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(tileTools().Floating);
    EXPECT_EQ(tileTools().Floating->columns, width);
    EXPECT_EQ(tileTools().Floating->rows, height);
    placeAt(0, 0);
    EXPECT_EQ(stepWithoutSharedNote(FormMain->EditUndo->text()),
              QStringLiteral("Undo Paste %1 x %2 cells").arg(width).arg(height));
    for (int column = 0; column < width; ++column) {
        for (int row = 0; row < height; ++row)
            ASSERT_EQ(cellWord(column, row), wordAt(column, row)) << column << ", " << row;
    }
    for (const int64_t offset : changedOffsets(before, romBytes())) {
        EXPECT_GE(offset, cellOffset(0, 0));
        EXPECT_LE(offset, cellOffset(width - 1, height - 1) + 1);
    }
}

TEST_F(TileToolsTest, ARightDragMakesAStampThatAStrokePutsDownAsOneStep)
{
    drag(Qt::RightButton, {1, 2}, {2, 3});
    EXPECT_EQ(statusPanel(1), QStringLiteral("Stamp 2 x 2"));
    pressKey(Qt::Key_F1);
    EXPECT_EQ(statusPanel(1), QStringLiteral("Stamp 2 x 2 横反転"));
    EXPECT_TRUE(FormMain->MapEditHFlip->isChecked());
    const std::vector<uint8_t> before = romBytes();
    const int steps = session().Document->history()->count();

    drag(Qt::LeftButton, {6, 8}, {7, 8});
    // Mirrored left-right: the stamp's right column comes first, each word flipped.
    EXPECT_EQ(cellWord(6, 8), 0x4202);
    EXPECT_EQ(cellWord(7, 8), 0x4202);
    EXPECT_EQ(cellWord(8, 8), 0x4102);
    EXPECT_EQ(cellWord(7, 9), 0x4203);
    EXPECT_EQ(cellWord(8, 9), 0x4103);
    EXPECT_EQ(changedOffsets(before, romBytes()), offsetsOf(6, 8, 3, 2));
    EXPECT_EQ(session().Document->history()->count(), steps + 1);
    EXPECT_EQ(stepWithoutSharedNote(FormMain->EditUndo->text()), QStringLiteral("Undo Paint 6 cells"));
    undo();
    EXPECT_EQ(romBytes(), before);

    // A chip chosen in the chip window makes the pen one chip again.
    activate(FormChip);
    QTest::mouseClick(control<QWidget>(FormChip, "ImageChip"), Qt::LeftButton, {}, QPoint(37, 5));
    EXPECT_EQ(statusPanel(1), QStringLiteral("現在のチップ:0001 横反転"));
    EXPECT_FALSE(session().Pen.Stamp);
}

} // namespace
