#include "forms/UnitSpriteEdit.h"
#include "qtcommon/shift_jis_text.h"
#include "tests/forms/editor_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>

#include <algorithm>
#include <sstream>

namespace {

// The sprite editor on the demo ROM, stage LevelNumber, with the window shown.
class SpriteEditorTest : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        openDemoRomAndShow();
    }

    void openDemoRomAndShow()
    {
        openDemoRom();
        showWindow(FormSpriteEdit);
        list = control<QListWidget>(FormSpriteEdit, "ListBoxSprite");
        ASSERT_GE(list->count(), 3) << "the tests need a stage with at least three sprites";
    }

    // Worked out here from the pointer table, as the game does.
    static int64_t listOffset()
    {
        const tamo::OffsetTable &offsets = session().OffsetTable;
        return romWord(offsets.Sprite + 2 * int64_t(session().LevelNumber)) + int64_t(offsets.BaseSprite);
    }
    static int64_t recordAt(int index) { return listOffset() + 8 * index; }

    QString expectedLine(int index) const
    {
        const int64_t at = recordAt(index);
        return QString::asprintf("%d:%04X-%04X:", index, romWord(at), romWord(at + 6))
            + kindName(romWord(at), romWord(at + 6));
    }

    // The name of a sprite kind as the lines of Data/sprite.ini give it: the value of its
    // type's key in the section of its graphics parameter.
    QString kindName(uint16_t param, uint16_t type) const
    {
        std::istringstream lines(readText("Data/sprite.ini"));
        const std::string section = QString::asprintf("[0x%04X]", param).toStdString();
        const std::string key = QString::asprintf("0x%04X=", type).toStdString();
        bool inSection = false;
        for (std::string line; std::getline(lines, line);) {
            if (line.ends_with('\r'))
                line.pop_back();
            if (line.starts_with('['))
                inSection = line == section;
            else if (inSection && line.starts_with(key))
                return tamo::fromShiftJis(line.substr(key.size()));
        }
        return {};
    }

    QLineEdit *edit(const char *name) const { return control<QLineEdit>(FormSpriteEdit, name); }
    QComboBox *kinds() const { return control<QComboBox>(FormSpriteEdit, "ComboBoxSpriteList"); }

    void typeRecord(const QString &param, const QString &x, const QString &y, const QString &type)
    {
        typeInto(edit("EditParam"), param);
        typeInto(edit("EditPosX"), x);
        typeInto(edit("EditPosY"), y);
        typeInto(edit("EditType"), type);
    }

    QListWidget *list = nullptr;
};

// --- The window before and after a ROM is open -------------------------------------------

class SpriteEditorWindowTest : public EditorTest
{
};

TEST_F(SpriteEditorWindowTest, EveryControlButTheLabelsIsDisabledUntilARomIsOpen)
{
    showWindow(FormSpriteEdit);
    const QList<QWidget *> controls = FormSpriteEdit->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    QStringList disabled;
    for (QWidget *widget : controls) {
        if (qobject_cast<QLabel *>(widget))
            EXPECT_TRUE(widget->isEnabled()) << "label " << widget->objectName().toStdString();
        else if (!widget->isEnabled())
            disabled << widget->objectName();
    }
    disabled.sort();
    EXPECT_EQ(disabled, (QStringList{"ButtonUpdate", "ComboBoxSpriteList", "EditAddress", "EditParam",
                                     "EditPosX", "EditPosY", "EditType", "ListBoxSprite"}));
    EXPECT_EQ(control<QListWidget>(FormSpriteEdit, "ListBoxSprite")->count(), 0);

    openDemoRom();
    for (QWidget *widget : controls)
        EXPECT_TRUE(widget->isEnabled()) << widget->objectName().toStdString();
    EXPECT_TRUE(control<QLineEdit>(FormSpriteEdit, "EditAddress")->isReadOnly());
}

TEST_F(SpriteEditorWindowTest, ControlsSitWhereTheFormPutsThem)
{
    EXPECT_EQ(FormSpriteEdit->windowTitle(), QStringLiteral("Sprite Edit"));
    EXPECT_EQ(control<QWidget>(FormSpriteEdit, "ComboBoxSpriteList")->geometry(), QRect(336, 24, 313, 20));
    EXPECT_EQ(control<QWidget>(FormSpriteEdit, "EditParam")->geometry(), QRect(392, 72, 257, 20));
    EXPECT_EQ(control<QWidget>(FormSpriteEdit, "EditType")->geometry(), QRect(392, 96, 257, 20));
    EXPECT_EQ(control<QWidget>(FormSpriteEdit, "EditPosX")->geometry(), QRect(392, 144, 257, 20));
    EXPECT_EQ(control<QWidget>(FormSpriteEdit, "EditPosY")->geometry(), QRect(392, 168, 257, 20));
    EXPECT_EQ(control<QWidget>(FormSpriteEdit, "ButtonUpdate")->geometry(), QRect(336, 200, 200, 25));
    EXPECT_EQ(control<QWidget>(FormSpriteEdit, "EditAddress")->geometry(), QRect(336, 256, 257, 20));
    EXPECT_EQ(control<QWidget>(FormSpriteEdit, "ListBoxSprite")->geometry(), QRect(0, 0, 330, 265));
}

TEST_F(SpriteEditorWindowTest, TheListBoxFollowsTheClientHeight)
{
    showWindow(FormSpriteEdit);
    FormSpriteEdit->resize(700, 412);
    QApplication::processEvents();
    EXPECT_EQ(control<QWidget>(FormSpriteEdit, "ListBoxSprite")->geometry(), QRect(0, 0, 330, 412));
    EXPECT_EQ(control<QWidget>(FormSpriteEdit, "EditParam")->geometry(), QRect(392, 72, 257, 20));
}

// --- The list lines ----------------------------------------------------------------------

TEST_F(SpriteEditorTest, ListsEveryRecordOfTheStageWithItsKindName)
{
    int64_t end = 0;
    for (int i = 0; romWord(recordAt(i)) != 0; ++i)
        end = i + 1;
    ASSERT_EQ(list->count(), end);
    for (int i = 0; i < list->count(); ++i)
        EXPECT_EQ(list->item(i)->text(), expectedLine(i));
    EXPECT_EQ(edit("EditAddress")->text(), QString::asprintf("%06llX", (long long)listOffset()));
    // The demo's kinds have names: at least one line must show one.
    const QStringList texts = lines(list);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [](const QString &line) { return !line.endsWith(':'); }));
}

TEST_F(SpriteEditorTest, LinesAreTwelvePixelsHigh)
{
    EXPECT_EQ(list->visualItemRect(list->item(0)).height(), 12);
    EXPECT_EQ(list->visualItemRect(list->item(1)).top() - list->visualItemRect(list->item(0)).top(), 12);
}

TEST_F(SpriteEditorTest, AParamOfZeroEndsTheListEvenWithRecordsAfterIt)
{
    patchWord(recordAt(1), 0);
    ASSERT_NE(romWord(recordAt(2)), 0);
    session().LoadStage();
    EXPECT_EQ(lines(list), QStringList{expectedLine(0)});

    patchWord(recordAt(0), 0);
    session().LoadStage();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(edit("EditAddress")->text(), QString::asprintf("%06llX", (long long)listOffset()));
}

TEST_F(SpriteEditorTest, ParamOneIsAnOrdinaryRecord)
{
    patchWord(recordAt(1), 1);
    session().LoadStage();
    ASSERT_GE(list->count(), 3);
    EXPECT_TRUE(list->item(1)->text().startsWith(QStringLiteral("1:0001-")));
    clickLine(list, 1);
    EXPECT_EQ(edit("EditParam")->text(), QStringLiteral("0x0001"));
}

// --- Selecting a line and a kind ---------------------------------------------------------

TEST_F(SpriteEditorTest, ClickingALineFillsTheEditBoxesAndSelectsItsKind)
{
    for (int i = 0; i < list->count(); ++i) {
        clickLine(list, i);
        const int64_t at = recordAt(i);
        EXPECT_EQ(edit("EditParam")->text(), QString::asprintf("0x%04X", romWord(at)));
        EXPECT_EQ(edit("EditPosX")->text(), QString::number(romWord(at + 2)));
        EXPECT_EQ(edit("EditPosY")->text(), QString::number(romWord(at + 4)));
        EXPECT_EQ(edit("EditType")->text(), QString::asprintf("0x%04X", romWord(at + 6)));
        const QString kindPrefix = QString::asprintf("%04X-%04X:", romWord(at), romWord(at + 6));
        if (kinds()->currentIndex() >= 0)
            EXPECT_TRUE(kinds()->currentText().startsWith(kindPrefix)) << i;
        else
            EXPECT_EQ(kinds()->findText(kindPrefix, Qt::MatchStartsWith), -1) << i;
    }
}

TEST_F(SpriteEditorTest, AClickOnTheSelectedLineOrAMoveByKeyFillsTheBoxesAgain)
{
    clickLine(list, 0);
    typeInto(edit("EditPosX"), QStringLiteral("4444"));
    clickLine(list, 0);
    EXPECT_EQ(edit("EditPosX")->text(), QString::number(romWord(recordAt(0) + 2)));

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(selectedLine(list), 1);
    EXPECT_EQ(edit("EditPosX")->text(), QString::number(romWord(recordAt(1) + 2)));
}

TEST_F(SpriteEditorTest, ChoosingAKindFillsParamAndTypeButWritesNothing)
{
    clickLine(list, 0);
    const QString x = edit("EditPosX")->text();
    const std::vector<uint8_t> before = romBytes();
    kinds()->setFocus();
    const int start = kinds()->currentIndex();
    QTest::keyClick(kinds(), start + 1 < kinds()->count() ? Qt::Key_Down : Qt::Key_Up);
    const int chosen = kinds()->currentIndex();
    ASSERT_NE(chosen, start);
    const QString line = kinds()->itemText(chosen);
    EXPECT_EQ(edit("EditParam")->text(), QStringLiteral("0x") + line.mid(0, 4));
    EXPECT_EQ(edit("EditType")->text(), QStringLiteral("0x") + line.mid(5, 4));
    EXPECT_EQ(edit("EditPosX")->text(), x);
    EXPECT_EQ(romBytes(), before);
}

// --- Updates -----------------------------------------------------------------------------

TEST_F(SpriteEditorTest, UpdateWritesExactlyTheSelectedRecord)
{
    clickLine(list, 1);
    const std::vector<uint8_t> before = romBytes();
    typeRecord(QStringLiteral("0x0003"), QStringLiteral("1234"), QStringLiteral("$56"),
               QStringLiteral("0x9202"));
    clickButton(FormSpriteEdit, "ButtonUpdate");

    const int64_t at = recordAt(1);
    const std::vector<int64_t> changed = changedOffsets(before, romBytes());
    for (int64_t offset : changed)
        EXPECT_TRUE(offset >= at && offset < at + 8) << std::hex << offset;
    EXPECT_EQ(romWord(at), 0x0003);
    EXPECT_EQ(romWord(at + 2), 1234);
    EXPECT_EQ(romWord(at + 4), 0x56);
    EXPECT_EQ(romWord(at + 6), 0x9202);

    // The line shows the new kind and stays selected; the typed texts stay.
    EXPECT_EQ(list->item(1)->text(), expectedLine(1));
    EXPECT_TRUE(list->item(1)->text().endsWith(QStringLiteral("Soap bubble")));
    EXPECT_EQ(selectedLine(list), 1);
    EXPECT_EQ(edit("EditPosY")->text(), QStringLiteral("$56"));
}

TEST_F(SpriteEditorTest, UpdateRedrawsTheStageWithTheMovedSprite)
{
    ASSERT_TRUE(FormMain->ViewSpriteMark->isChecked());
    auto *image = control<QWidget>(FormMain, "ImageMain");
    // The mark's rows 1 to 3, above its labels and inside the selected object's frame: the
    // mark bitmap's cell 0 for Param 1, 3 for any other, with the cell's bottom-left corner
    // on the sprite's point (Y counts up).
    const QImage marks = QImage(QString::fromStdString(dataFile("Data/mark.bmp").string()))
                             .convertToFormat(QImage::Format_RGB32);
    const int cell = romWord(recordAt(0)) == 1 ? 0 : 3;
    const QImage markTop = marks.copy(cell * 32 + 1, 1, 30, 3);
    const int x = romWord(recordAt(0) + 2);
    const int top = session().Stage.MapHeight * 32 - romWord(recordAt(0) + 4) - 32;
    const auto shownAt = [&](int pointX) {
        return image->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(
            pointX - session().Stage.TilemapStart + 1, top + 1, 30, 3);
    };
    ASSERT_EQ(shownAt(x), markTop);
    ASSERT_NE(shownAt(x + 96), markTop);

    clickLine(list, 0);
    typeInto(edit("EditPosX"), QString::number(x + 96));
    clickButton(FormSpriteEdit, "ButtonUpdate");
    QApplication::processEvents();
    EXPECT_EQ(shownAt(x + 96), markTop);
    EXPECT_NE(shownAt(x), markTop);
}

TEST_F(SpriteEditorTest, AnUpdateSurvivesSavingAndOpeningTheFileAgain)
{
    clickLine(list, 1);
    typeInto(edit("EditPosY"), QStringLiteral("321"));
    clickButton(FormSpriteEdit, "ButtonUpdate");
    const QString line = list->item(1)->text();
    FormMain->FileSave->trigger();

    restart();
    openDemoRomAndShow();
    EXPECT_EQ(list->item(1)->text(), line);
    clickLine(list, 1);
    EXPECT_EQ(edit("EditPosY")->text(), QStringLiteral("321"));
}

TEST_F(SpriteEditorTest, WritingBackUnchangedValuesLeavesTheImageAlone)
{
    const std::vector<uint8_t> before = romBytes();
    for (int i = 0; i < list->count(); ++i) {
        clickLine(list, i);
        clickButton(FormSpriteEdit, "ButtonUpdate");
    }
    EXPECT_EQ(romBytes(), before);
}

TEST_F(SpriteEditorTest, EnterPressesUpdate)
{
    clickLine(list, 2);
    typeInto(edit("EditPosX"), QStringLiteral("777"));
    QTest::keyClick(edit("EditPosX"), Qt::Key_Return);
    EXPECT_EQ(romWord(recordAt(2) + 2), 777);
}

TEST_F(SpriteEditorTest, UnreadableTextWritesTheDefaults)
{
    clickLine(list, 0);
    typeRecord(QString(), QStringLiteral("abc"), QString(), QString());
    clickButton(FormSpriteEdit, "ButtonUpdate");
    EXPECT_EQ(romWord(recordAt(0)), 1);
    EXPECT_EQ(romWord(recordAt(0) + 2), 0);
    EXPECT_EQ(romWord(recordAt(0) + 4), 0);
    EXPECT_EQ(romWord(recordAt(0) + 6), 0x9055);
}

TEST_F(SpriteEditorTest, BlanksAroundTypedNumbersDoNotCount)
{
    clickLine(list, 0);
    typeRecord(QStringLiteral(" 0x0002"), QStringLiteral("40 "), QStringLiteral("  12  "),
               QStringLiteral("0x9101 "));
    clickButton(FormSpriteEdit, "ButtonUpdate");
    const int64_t at = recordAt(0);
    EXPECT_EQ((std::vector<uint16_t>{romWord(at), romWord(at + 2), romWord(at + 4), romWord(at + 6)}),
              (std::vector<uint16_t>{0x0002, 40, 12, 0x9101}));
}

TEST_F(SpriteEditorTest, ValuesAreCutToSixteenBits)
{
    clickLine(list, 0);
    typeRecord(QStringLiteral("70000"), QStringLiteral("-1"), QStringLiteral("300"),
               QStringLiteral("$12345"));
    clickButton(FormSpriteEdit, "ButtonUpdate");
    EXPECT_EQ(romWord(recordAt(0)), 0x1170);
    EXPECT_EQ(romWord(recordAt(0) + 2), 0xFFFF);
    EXPECT_EQ(romWord(recordAt(0) + 4), 300);
    EXPECT_EQ(romWord(recordAt(0) + 6), 0x2345);
}

TEST_F(SpriteEditorTest, UpdateWithoutASelectedLineWritesNothing)
{
    const std::vector<uint8_t> before = romBytes();
    typeRecord(QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("5"));
    clickButton(FormSpriteEdit, "ButtonUpdate");
    EXPECT_EQ(romBytes(), before);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SpriteEditorTest, WritingAParamOfZeroShortensTheList)
{
    const int count = list->count();
    clickLine(list, 1);
    typeInto(edit("EditParam"), QStringLiteral("0"));
    clickButton(FormSpriteEdit, "ButtonUpdate");

    EXPECT_EQ(romWord(recordAt(1)), 0);
    EXPECT_EQ(lines(list), QStringList{expectedLine(0)});
    EXPECT_EQ(selectedLine(list), -1);
    EXPECT_LT(list->count(), count);

    // With no line selected, Update touches nothing, also not the records after the end.
    const std::vector<uint8_t> before = romBytes();
    typeInto(edit("EditParam"), QStringLiteral("4"));
    clickButton(FormSpriteEdit, "ButtonUpdate");
    EXPECT_EQ(romBytes(), before);
}

TEST_F(SpriteEditorTest, ALineBelowTheNewEndKeepsNoSelection)
{
    // Ending the list before the selected line's record must take that line away too.
    clickLine(list, 2);
    patchWord(recordAt(1), 0);
    FormSpriteEdit->RefreshList(false);
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(selectedLine(list), -1);
}

TEST_F(SpriteEditorTest, AnotherEditThatEndsTheListTakesTheSelectedLineAwayAtOnce)
{
    // Another edit of the list (undo or redo, say) ends it before line 2: the list follows
    // at once, so Update has no line that could stand for a record that is gone.
    clickLine(list, 2);
    patchWord(recordAt(1), 0, EditScope::SpriteList);
    EXPECT_EQ(lines(list), QStringList{expectedLine(0)});
    EXPECT_EQ(selectedLine(list), -1);
    const std::vector<uint8_t> before = romBytes();
    clickButton(FormSpriteEdit, "ButtonUpdate");
    EXPECT_EQ(romBytes(), before);
}

// --- The kinds of Data\sprite.ini --------------------------------------------------------

class SpriteKindsTest : public SpriteEditorTest
{
protected:
    void SetUp() override
    {
        makeFolder();
        writeText("Data/sprite.ini",
                  "[0x0001]\n0x9055=Lamp post\nbogus=skipped\n0x9056=\n"
                  "[graphics]\n0x0001=skipped\n"
                  "[$2]\n10=Short form\n"
                  "[0x0002]\n0x000A=Long form\n");
        createWindows();
        openDemoRomAndShow();
    }
};

TEST_F(SpriteKindsTest, TheDropDownListHoldsTheNamedKindsInFileOrder)
{
    QStringList items;
    for (int i = 0; i < kinds()->count(); ++i)
        items << kinds()->itemText(i);
    EXPECT_EQ(items, (QStringList{"0001-9055:Lamp post", "0002-000A:Short form",
                                  "0002-000A:Long form"}));
    EXPECT_EQ(kinds()->currentIndex(), -1) << "no kind is chosen before a line is";
}

TEST_F(SpriteKindsTest, ALineFindsItsKindWhateverTheNameFormOnlyTheLongFormNamesIt)
{
    patchWord(recordAt(0), 0x0002);
    patchWord(recordAt(0) + 6, 0x000A);
    patchWord(recordAt(1), 0x0001);
    patchWord(recordAt(1) + 6, 0x9056);
    session().LoadStage();
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("0:0002-000A:Long form"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("1:0001-9056:"));

    clickLine(list, 0);
    EXPECT_EQ(kinds()->currentIndex(), 1) << "the first of the equal entries";
    clickLine(list, 1);
    EXPECT_EQ(kinds()->currentIndex(), -1);
}

TEST_F(SpriteKindsTest, AStageLoadEmptiesTheEditBoxesButKeepsTheKind)
{
    patchWord(recordAt(0), 0x0001);
    patchWord(recordAt(0) + 6, 0x9055);
    session().LoadStage();
    clickLine(list, 0);
    ASSERT_EQ(kinds()->currentIndex(), 0);
    session().LoadStage();
    for (const char *name : {"EditParam", "EditPosX", "EditPosY", "EditType"})
        EXPECT_TRUE(edit(name)->text().isEmpty()) << name;
    EXPECT_FALSE(edit("EditAddress")->text().isEmpty());
    EXPECT_EQ(kinds()->currentIndex(), 0);
    EXPECT_EQ(selectedLine(list), -1);
}

// --- Lists outside the image -------------------------------------------------------------

class SpriteListOutsideTest : public EditorTest
{
protected:
    void SetUp() override {} // the test prepares the folder first
};

TEST_F(SpriteListOutsideTest, ShowsTheAddressAndRefusesUpdateWithAMessage)
{
    makeFolder();
    // A base past the 4 MiB image puts every sprite list outside it.
    editDataIni("Data/offsets.ini", "Offset", "BaseSprite", "0x500000");
    createWindows();
    openDemoRom();
    showWindow(FormSpriteEdit);
    auto *list = control<QListWidget>(FormSpriteEdit, "ListBoxSprite");
    EXPECT_EQ(list->count(), 0);
    const int64_t offset = romWord(session().OffsetTable.Sprite + 2 * int64_t(session().LevelNumber)) + 0x500000;
    EXPECT_EQ(control<QLineEdit>(FormSpriteEdit, "EditAddress")->text(),
              QString::asprintf("%06llX", (long long)offset));

    messages.clear();
    const std::vector<uint8_t> before = romBytes();
    clickButton(FormSpriteEdit, "ButtonUpdate");
    EXPECT_EQ(romBytes(), before);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("outside the ROM image"))) << messages[0].toStdString();
}

} // namespace
