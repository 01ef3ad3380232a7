#include "tests/forms/main_window_test_support.h"

#include "forms/UnitSpriteEdit.h"
#include "forms/UnitLevelSelect.h"
#include "tests/support/stage_bytes.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

class LevelSelectTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        openDemoRom();
        // A pen flip tells whether a stage load ran: every load clears it.
        pressKey(Qt::Key_F1);
        ASSERT_TRUE(session().Pen.HFlip);
    }

    static QListWidget *levelList(QWidget *dialog) { return control<QListWidget>(dialog, "ListBoxLevels"); }
    static QLineEdit *levelEdit(QWidget *dialog) { return control<QLineEdit>(dialog, "EditLevelNo"); }

    // Opens the dialog with Ctrl+L, types text into the number field and presses OK.
    void chooseByNumber(const QString &text)
    {
        whenModalShown([text](QWidget *dialog) {
            typeInto(levelEdit(dialog), text);
            clickButton(dialog, "ButtonOK");
        });
        pressKey(Qt::Key_L, Qt::ControlModifier);
    }

    bool stageWasLoaded() const { return !session().Pen.HFlip; }
};

TEST_F(LevelSelectTest, TypingTheLastStageLoadsIt)
{
    chooseByNumber(QStringLiteral("229"));
    EXPECT_EQ(session().LevelNumber, 229);
    EXPECT_EQ(session().Stage.LevelNumber, 229);
    EXPECT_TRUE(stageWasLoaded());
    // Every view follows the new stage: the map's size and the sprite editor's list.
    EXPECT_EQ(imageMain()->size(), QSize(session().Stage.MapWidth * 32, session().Stage.MapHeight * 32));
    EXPECT_TRUE(imageMain()->isVisible());
    const std::vector<uint8_t> rom = romBytes();
    const auto sprites = tamo::test::spritesAt(rom, tamo::test::spriteListAt(rom, session().OffsetTable, 229));
    ASSERT_FALSE(sprites.empty());
    EXPECT_EQ(control<QListWidget>(FormSpriteEdit, "ListBoxSprite")->count(), int(sprites.size()));
}

TEST_F(LevelSelectTest, NumbersOutsideTheStagesOrNoNumberLoadNothing)
{
    for (const QString &text : {QStringLiteral("230"), QStringLiteral("-1"), QStringLiteral("abc"),
                                QString()}) {
        chooseByNumber(text);
        EXPECT_EQ(session().LevelNumber, 22) << text.toStdString();
        EXPECT_EQ(session().Stage.LevelNumber, 22) << text.toStdString();
        EXPECT_FALSE(stageWasLoaded()) << text.toStdString();
    }
}

TEST_F(LevelSelectTest, HexadecimalNumbersLoadStage31)
{
    chooseByNumber(QStringLiteral("$1F"));
    EXPECT_EQ(session().LevelNumber, 31);
    EXPECT_TRUE(stageWasLoaded());

    pressKey(Qt::Key_F1);
    chooseByNumber(QStringLiteral("0x1F"));
    EXPECT_EQ(session().Stage.LevelNumber, 31);
    EXPECT_TRUE(stageWasLoaded());
}

TEST_F(LevelSelectTest, BlanksAroundTheTypedNumberDoNotCount)
{
    chooseByNumber(QStringLiteral(" 40"));
    EXPECT_EQ(session().Stage.LevelNumber, 40);

    chooseByNumber(QStringLiteral("0x1F\t "));
    EXPECT_EQ(session().Stage.LevelNumber, 31);
}

TEST_F(LevelSelectTest, AClickOnTheSelectedItemPutsItsNumberOverTheTypedOne)
{
    QString editText;
    whenModalShown([&editText](QWidget *dialog) {
        typeInto(levelEdit(dialog), QStringLiteral("40"));
        ASSERT_EQ(selectedLine(levelList(dialog)), 22);
        clickLine(levelList(dialog), 22);
        editText = levelEdit(dialog)->text();
        clickButton(dialog, "ButtonOK");
    });
    pressKey(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(editText, QStringLiteral("22"));
    EXPECT_EQ(session().LevelNumber, 22);
    EXPECT_TRUE(stageWasLoaded());
}

TEST_F(LevelSelectTest, TheCurrentStageOpensInTheMiddleOfTheList)
{
    chooseByNumber(QStringLiteral("100"));
    int itemCentre = -1;
    int lineHeight = 0;
    int viewHeight = 0;
    whenModalShown([&](QWidget *dialog) {
        QListWidget *list = levelList(dialog);
        const QRect item = list->visualItemRect(list->item(100));
        itemCentre = item.center().y();
        lineHeight = item.height();
        viewHeight = list->viewport()->height();
        clickButton(dialog, "ButtonCancel");
    });
    pressKey(Qt::Key_L, Qt::ControlModifier);
    ASSERT_GT(lineHeight, 0);
    EXPECT_NEAR(itemCentre, viewHeight / 2, lineHeight);
}

TEST_F(LevelSelectTest, EnterPressesOK)
{
    whenModalShown([](QWidget *dialog) {
        typeInto(levelEdit(dialog), QStringLiteral("40"));
        QTest::keyClick(levelEdit(dialog), Qt::Key_Return);
    });
    pressKey(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(session().LevelNumber, 40);
}

TEST_F(LevelSelectTest, DoubleClickingAnItemLoadsItsStageAtOnce)
{
    whenModalShown([](QWidget *dialog) {
        QListWidget *list = levelList(dialog);
        QListWidgetItem *item = list->item(0x2A);
        list->scrollToItem(item);
        // A double click is a click followed by the double-click press.
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    });
    pressKey(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(session().LevelNumber, 42);
    EXPECT_TRUE(stageWasLoaded());
}

TEST_F(LevelSelectTest, ClickingAnItemThenCancelLoadsNothing)
{
    QString editText;
    whenModalShown([&editText](QWidget *dialog) {
        clickLine(levelList(dialog), 5);
        editText = levelEdit(dialog)->text();
        clickButton(dialog, "ButtonCancel");
    });
    pressKey(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(editText, QStringLiteral("5"));
    EXPECT_EQ(session().LevelNumber, 22);
    EXPECT_FALSE(stageWasLoaded());
}

TEST_F(LevelSelectTest, EscapeLoadsNothing)
{
    whenModalShown([](QWidget *dialog) {
        typeInto(levelEdit(dialog), QStringLiteral("7"));
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    pressKey(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(session().LevelNumber, 22);
    EXPECT_FALSE(stageWasLoaded());
}

TEST_F(LevelSelectTest, OpensOnTheCurrentStageWithAllStagesListed)
{
    chooseByNumber(QStringLiteral("12"));
    ASSERT_EQ(session().LevelNumber, 12);
    session().OffsetsIni.writeString("Level name", "00", "First room");
    session().OffsetsIni.writeString("Level name", "0C", "Twelfth room");
    session().OffsetsIni.writeString("Level name", "E5", "");

    QStringList items;
    QString selected;
    QString editText;
    QString caption;
    QRect place;
    int listHeight = 0;
    whenModalShown([&](QWidget *dialog) {
        place = QRect(dialog->pos(), dialog->size());
        listHeight = levelList(dialog)->height();
        items = lines(levelList(dialog));
        const QList<QListWidgetItem *> selection = levelList(dialog)->selectedItems();
        selected = selection.isEmpty() ? QString() : selection.first()->text();
        editText = levelEdit(dialog)->text();
        caption = dialog->windowTitle();
        clickButton(dialog, "ButtonCancel");
    });
    pressKey(Qt::Key_L, Qt::ControlModifier);

    EXPECT_EQ(caption, QStringLiteral("Level Select"));
    EXPECT_EQ(place, QRect(192, 114, 450, 317));
    EXPECT_EQ(listHeight, 260);
    ASSERT_EQ(items.size(), 230);
    EXPECT_TRUE(selected.startsWith(QStringLiteral("0C:"))) << selected.toStdString();
    EXPECT_EQ(editText, QStringLiteral("12"));
    EXPECT_EQ(items.at(0), QStringLiteral("00:First room"));
    EXPECT_EQ(items.at(0x0C), QStringLiteral("0C:Twelfth room"));
    EXPECT_EQ(items.at(0xE5), QStringLiteral("E5:"));
}

TEST_F(LevelSelectTest, ListsNamesFromTheDataFileDecodedFromShiftJis)
{
    // "草原" in Shift-JIS.
    session().OffsetsIni.writeString("Level name", "03", "\x91\x90\x8c\xb4");
    session().OffsetsIni.writeString("Level name", "04", "");
    QStringList items;
    whenModalShown([&items](QWidget *dialog) {
        items = lines(levelList(dialog));
        clickButton(dialog, "ButtonCancel");
    });
    pressKey(Qt::Key_L, Qt::ControlModifier);
    ASSERT_EQ(items.size(), 230);
    EXPECT_EQ(items.at(3), QStringLiteral("03:草原"));
    EXPECT_EQ(items.at(4), QStringLiteral("04:"));
}

class LevelSelectOutOfRangeTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        makeFolder();
        writeText("Config/application.ini", "[Stage]\nLatest=300\n");
        createWindows();
    }
};

// A stored stage beyond the list reads as stage 22, which the dialog then selects.
TEST_F(LevelSelectOutOfRangeTest, AStoredStageBeyondTheListSelectsStage22)
{
    ASSERT_EQ(session().LevelNumber, 22);
    QList<QListWidgetItem *> selected;
    int row = -1;
    QString editText;
    whenModalShown([&](QWidget *dialog) {
        auto *list = control<QListWidget>(dialog, "ListBoxLevels");
        selected = list->selectedItems();
        row = selected.size() == 1 ? list->row(selected.first()) : -1;
        editText = control<QLineEdit>(dialog, "EditLevelNo")->text();
        clickButton(dialog, "ButtonCancel");
    });
    // The action waits for a ROM; the dialog itself is what is looked at here.
    FormLevelSelect->Execute();
    EXPECT_EQ(selected.size(), 1);
    EXPECT_EQ(row, 22);
    EXPECT_EQ(editText, QStringLiteral("22"));
}

} // namespace
