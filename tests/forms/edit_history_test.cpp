#include "forms/UnitHistory.h"
#include "forms/UnitLevelSetting.h"
#include "forms/UnitSpriteEdit.h"
#include "tests/forms/main_window_test_support.h"

#include <QAction>
#include <QUndoView>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// Undo, redo, the unsaved-changes mark and the question before edits are lost, on the
// demo ROM with its current stage shown.
class EditHistoryTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        openDemoRom();
        ASSERT_EQ(session().Stage.ScreenMode, 0);
        original = romBytes();
    }

    // The offset of a cell's tile word, worked out here from the stage's fields.
    static int64_t cellOffset(int column, int row)
    {
        const tamo::Stage &stage = session().Stage;
        return stage.TilemapOffset + 2 * ((column + stage.TilemapStart / 32) * stage.MapHeight + row);
    }

    // A left-button drag along row 5 from the first column to the last, painting chip.
    static void paintRow(const std::vector<int> &columns, int chip)
    {
        session().Pen.CurrentChip = chip;
        QTest::mousePress(imageMain(), Qt::LeftButton, {}, cellCentre(columns.front(), 5));
        for (int column : columns)
            QTest::mouseMove(imageMain(), cellCentre(column, 5));
        QTest::mouseRelease(imageMain(), Qt::LeftButton, {}, cellCentre(columns.back(), 5));
    }

    static void undo()
    {
        activate(FormMain);
        pressKey(Qt::Key_Z, Qt::ControlModifier);
    }
    static void redo()
    {
        activate(FormMain);
        pressKey(Qt::Key_Y, Qt::ControlModifier);
    }

    std::vector<uint8_t> fileBytes() const
    {
        std::ifstream in(dataFile("demo.smc"), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::vector<uint8_t> original;
};

TEST_F(EditHistoryTest, CtrlZTakesBackAWholeStrokeAndCtrlYMakesItAgain)
{
    EXPECT_FALSE(FormMain->EditUndo->isEnabled());
    const QImage shownBefore = shownImage();
    // Columns 1 and 2 are crossed twice: they count once, and come back to their first words.
    paintRow({0, 1, 2, 3, 2, 1}, 0x13);
    const std::vector<uint8_t> painted = romBytes();
    for (int64_t offset : changedOffsets(original, painted))
        EXPECT_TRUE(offset >= cellOffset(0, 5) && offset < cellOffset(0, 5) + 2 * 16 * 4
                    && (offset - cellOffset(0, 5)) % 32 < 2) << offset;
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(romWord(cellOffset(column, 5)), 0x13) << column;
    EXPECT_EQ(stepWithoutSharedNote(FormMain->EditUndo->text()), QStringLiteral("Undo Paint 4 cells"));
    EXPECT_TRUE(FormMain->isWindowModified());

    undo();
    EXPECT_EQ(romBytes(), original);
    EXPECT_FALSE(FormMain->isWindowModified());
    EXPECT_FALSE(FormMain->EditUndo->isEnabled());
    EXPECT_EQ(stepWithoutSharedNote(FormMain->EditRedo->text()), QStringLiteral("Redo Paint 4 cells"));
    EXPECT_EQ(shownImage(), shownBefore) << "the map shows the old cells, and the marks over them";

    redo();
    EXPECT_EQ(romBytes(), painted);
    EXPECT_TRUE(FormMain->isWindowModified());
}

TEST_F(EditHistoryTest, UndoOfASpriteUpdateShowsTheRecordAgainInTheList)
{
    showWindow(FormSpriteEdit);
    auto *list = control<QListWidget>(FormSpriteEdit, "ListBoxSprite");
    auto *type = control<QLineEdit>(FormSpriteEdit, "EditType");
    clickLine(list, 1);
    const QString line = list->item(1)->text();
    const QString typeText = type->text();
    typeInto(type, QStringLiteral("0x0ABC"));
    clickButton(FormSpriteEdit, "ButtonUpdate");
    ASSERT_TRUE(list->item(1)->text().startsWith(QStringLiteral("1:"))) << list->item(1)->text().toStdString();
    EXPECT_TRUE(list->item(1)->text().contains(QStringLiteral("-0ABC:")));
    EXPECT_EQ(FormMain->EditUndo->text(), QStringLiteral("Undo Sprite #1"));

    undo();
    EXPECT_EQ(romBytes(), original);
    EXPECT_EQ(list->item(1)->text(), line);
    EXPECT_EQ(selectedLine(list), 1);
    EXPECT_EQ(type->text(), typeText) << "the boxes show the record as it is again";
}

TEST_F(EditHistoryTest, UndoOfTheSettingsOkLoadsTheStageAgain)
{
    const int32_t width = session().Stage.MapWidth;
    QTimer::singleShot(0, FormLevelSetting, [] {
        auto *end = control<QLineEdit>(FormLevelSetting, "EditTilemapEnd");
        typeInto(end, QString::number(end->text().toInt() + 320));
        clickButton(FormLevelSetting, "ButtonOK");
    });
    FormMain->StageConfig->trigger();
    ASSERT_EQ(session().Stage.MapWidth, width + 10);
    EXPECT_EQ(imageMain()->width(), (width + 10) * 32);
    EXPECT_EQ(FormMain->EditUndo->text(), QStringLiteral("Undo Stage settings"));
    ASSERT_EQ(session().Document->history()->count(), 1);

    undo();
    EXPECT_EQ(romBytes(), original);
    EXPECT_EQ(session().Stage.MapWidth, width);
    EXPECT_EQ(imageMain()->width(), width * 32);
}

TEST_F(EditHistoryTest, AStepOfAnotherStageShowsThatStageBeforeItChanges)
{
    const int32_t level = session().LevelNumber;
    paintRow({2}, 0x21);
    session().LevelNumber = level + 1;
    session().LoadStage();

    undo();
    EXPECT_EQ(session().LevelNumber, level);
    EXPECT_EQ(session().Stage.LevelNumber, level);
    EXPECT_EQ(romBytes(), original);
    session().LevelNumber = level + 1;
    session().LoadStage();
    redo();
    EXPECT_EQ(session().LevelNumber, level);
    EXPECT_EQ(romWord(cellOffset(2, 5)), 0x21);
}

TEST_F(EditHistoryTest, AStrokeASpriteAndASettingUndoneThriceGiveTheFileBackByteForByte)
{
    paintRow({0, 1, 2}, 0x31);
    showWindow(FormSpriteEdit);
    clickLine(control<QListWidget>(FormSpriteEdit, "ListBoxSprite"), 0);
    typeInto(control<QLineEdit>(FormSpriteEdit, "EditPosX"), QStringLiteral("777"));
    clickButton(FormSpriteEdit, "ButtonUpdate");
    QTimer::singleShot(0, FormLevelSetting, [] {
        typeInto(control<QLineEdit>(FormLevelSetting, "EditStartX"), QStringLiteral("99"));
        clickButton(FormLevelSetting, "ButtonOK");
    });
    FormMain->StageConfig->trigger();
    const std::vector<uint8_t> edited = romBytes();
    ASSERT_EQ(session().Document->history()->count(), 3);

    for (int step = 0; step < 3; ++step)
        undo();
    EXPECT_FALSE(FormMain->isWindowModified());
    FormMain->Files->SaveRom();
    EXPECT_EQ(fileBytes(), original);
    for (int step = 0; step < 3; ++step)
        redo();
    EXPECT_TRUE(FormMain->isWindowModified());
    FormMain->Files->SaveRom();
    EXPECT_EQ(fileBytes(), edited);
    EXPECT_FALSE(FormMain->isWindowModified());
}

TEST_F(EditHistoryTest, ClosingWithUnsavedEditsAsksAndCancelKeepsEverything)
{
    paintRow({1}, 0x22);
    const std::vector<uint8_t> painted = romBytes();
    questionAnswer = UnsavedEditsAnswer::Cancel;
    EXPECT_FALSE(FormMain->close());
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(demoRom())) << questions[0].toStdString();
    EXPECT_TRUE(FormMain->isVisible());
    EXPECT_EQ(romBytes(), painted);

    // Opening another ROM asks the same; Cancel shows no open dialog at all.
    FormMain->FileOpen1->trigger();
    EXPECT_EQ(questions.size(), 2);

    // Save: the file gets the edits and the window closes.
    questionAnswer = UnsavedEditsAnswer::Save;
    EXPECT_TRUE(FormMain->close());
    EXPECT_EQ(fileBytes(), painted);
}

TEST_F(EditHistoryTest, ASaveThatFailsWhileClosingKeepsTheProgramAndTheEdits)
{
    paintRow({1}, 0x22);
    std::filesystem::remove(dataFile("demo.smc"));
    questionAnswer = UnsavedEditsAnswer::Save;
    messages.clear();
    EXPECT_FALSE(FormMain->close());
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(FormMain->isVisible());
    EXPECT_TRUE(FormMain->isWindowModified());

    questionAnswer = UnsavedEditsAnswer::Discard;
    EXPECT_TRUE(FormMain->close());
}

TEST_F(EditHistoryTest, NothingIsAskedWithoutUnsavedEdits)
{
    paintRow({1}, 0x22);
    undo();
    EXPECT_TRUE(FormMain->close());
    EXPECT_TRUE(questions.isEmpty());
}

TEST_F(EditHistoryTest, AfterAFailedStageLoadTheEditorsListNothingToWrite)
{
    showWindow(FormSpriteEdit);
    auto *list = control<QListWidget>(FormSpriteEdit, "ListBoxSprite");
    ASSERT_GT(list->count(), 0);
    for (int tilemap = 1; tilemap <= 8; ++tilemap)
        std::filesystem::remove(dataFile("Data/chip" + std::to_string(tilemap) + ".bmp"));
    session().LevelNumber += 1;
    EXPECT_THROW(session().LoadStage(), std::exception);
    EXPECT_FALSE(session().StageShown());
    EXPECT_EQ(list->count(), 0);
    clickButton(FormSpriteEdit, "ButtonUpdate");
    EXPECT_EQ(romBytes(), original);
}

TEST_F(EditHistoryTest, TheHistoryWindowListsTheStepsAndGoesBackToAnyOfThem)
{
    activate(FormMain);
    pressKey(Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(FormHistory->isVisible());
    EXPECT_TRUE(FormHistory->toggleAction()->isChecked());
    paintRow({1}, 0x22);
    paintRow({2, 3}, 0x23);
    auto *view = control<QUndoView>(FormHistory, "ListHistory");
    ASSERT_EQ(view->model()->rowCount(), 3); // the state as opened, then the two steps
    EXPECT_EQ(stepWithoutSharedNote(view->model()->index(2, 0).data().toString()), QStringLiteral("Paint 2 cells"));

    const QRect first = view->visualRect(view->model()->index(0, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(romBytes(), original);
    FormHistory->close();
    EXPECT_FALSE(FormHistory->toggleAction()->isChecked());
}

} // namespace
