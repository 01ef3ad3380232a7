#include "forms/UnitLevelSetting.h"
#include "forms/UnitSpriteEdit.h"
#include "tests/forms/editor_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QTimer>

#include <set>
#include <string>

namespace {

const char *const ComboBoxes[] = {"ComboBoxFG", "ComboBoxBG", "ComboBoxMusic", "ComboBoxFunc",
                                  "ComboBoxStartAction"};
const char *const NumberEdits[] = {"EditStartX", "EditStartY", "EditBGColor", "EditBGDarkness",
                                   "EditTilemapStart", "EditTilemapEnd"};

// Where each setting of the stage lies.
struct SettingPlaces
{
    int64_t fg, bg, music, func, startAction, startPoint, darkness, cameraBlock;
};

class LevelSettingTest : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        openDemoRom();
        places = placesOf(session().LevelNumber);
    }

    // Worked out here from the offset table, as the game does.
    static SettingPlaces placesOf(int32_t level)
    {
        const tamo::OffsetTable &o = session().OffsetTable;
        const int64_t n = level;
        const int64_t cameraBlock = romWord(o.Camera + 2 * n) + int64_t(o.BaseCamera) - 4;
        return {o.FG + 2 * n,          o.BG + 2 * n,         o.Music + 2 * n, o.LevelFunc + 4 * n,
                o.StartAction + 2 * n, o.StartPoint + 4 * n, o.Darkness + 4 * n, cameraBlock};
    }

    // Opens the dialog without blocking, as the user sees it after F12.
    void openDialog()
    {
        FormLevelSetting->open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(FormLevelSetting));
    }

    // Runs the F12 action; `act` works the dialog while it is modal.
    void runStageConfig(const std::function<void()> &act)
    {
        bool acted = false;
        QTimer::singleShot(0, FormLevelSetting, [&] {
            act();
            acted = true;
        });
        FormMain->StageConfig->trigger();
        ASSERT_TRUE(acted);
        ASSERT_FALSE(FormLevelSetting->isVisible());
    }

    static QComboBox *combo(const char *name) { return control<QComboBox>(FormLevelSetting, name); }
    static QLineEdit *edit(const char *name) { return control<QLineEdit>(FormLevelSetting, name); }
    static QCheckBox *flag(int index)
    {
        const std::string name = std::string("CheckBoxDarkness") + char('A' + index);
        return control<QCheckBox>(FormLevelSetting, name.c_str());
    }
    static QStringList items(const char *name)
    {
        QStringList texts;
        for (int i = 0; i < combo(name)->count(); ++i)
            texts << combo(name)->itemText(i);
        return texts;
    }

    // The sprite editor's boxes are emptied by every stage load: a sign of the reload.
    static void fillSpriteBoxes()
    {
        showWindow(FormSpriteEdit);
        clickLine(control<QListWidget>(FormSpriteEdit, "ListBoxSprite"), 0);
        ASSERT_FALSE(control<QLineEdit>(FormSpriteEdit, "EditPosX")->text().isEmpty());
    }
    static bool stageReloaded()
    {
        return control<QLineEdit>(FormSpriteEdit, "EditPosX")->text().isEmpty();
    }

    SettingPlaces places{};
};

// --- The dialog itself -------------------------------------------------------------------

TEST_F(LevelSettingTest, IsAFixedDialogAtItsPlaceWithTheFormsControls)
{
    openDialog();
    EXPECT_EQ(FormLevelSetting->windowTitle(), QStringLiteral("Level Settings"));
    EXPECT_EQ(FormLevelSetting->size(), QSize(525, 385));
    EXPECT_EQ(FormLevelSetting->minimumSize(), FormLevelSetting->maximumSize());
    EXPECT_EQ(FormLevelSetting->pos(), QPoint(588, 249));
    EXPECT_TRUE(control<QPushButton>(FormLevelSetting, "ButtonOK")->isDefault());
    EXPECT_EQ(control<QPushButton>(FormLevelSetting, "ButtonOK")->text(), QStringLiteral("&OK"));
    EXPECT_EQ(control<QPushButton>(FormLevelSetting, "ButtonCancel")->text(), QStringLiteral("Cancel(&C)"));
    EXPECT_EQ(control<QGroupBox>(FormLevelSetting, "GroupBoxDarknessBit")->title(), QStringLiteral("FG/BG"));
    EXPECT_EQ(control<QGroupBox>(FormLevelSetting, "GroupBoxBGColor")->title(), QStringLiteral("Not used"));
    EXPECT_EQ(control<QGroupBox>(FormLevelSetting, "GroupBoxBGDarkness")->title(), QStringLiteral("Not used"));
    std::set<QString> tips;
    int lastLeft = -1;
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(flag(i)->text().isEmpty());
        EXPECT_FALSE(flag(i)->toolTip().isEmpty());
        tips.insert(flag(i)->toolTip());
        EXPECT_GT(flag(i)->x(), lastLeft) << "A to H from left to right";
        lastLeft = flag(i)->x();
    }
    EXPECT_EQ(tips.size(), 8u);
    EXPECT_TRUE(flag(6)->toolTip().contains(QStringLiteral("BG")));
    EXPECT_TRUE(flag(7)->toolTip().contains(QStringLiteral("FG")));
    EXPECT_EQ(QApplication::focusWidget(), combo("ComboBoxFG"));
    FormLevelSetting->reject();
}

TEST_F(LevelSettingTest, ShowsTheSettingsOfTheStage)
{
    openDialog();
    EXPECT_EQ(edit("EditStartX")->text(), QString::number(romWord(places.startPoint)));
    EXPECT_EQ(edit("EditStartY")->text(), QString::number(romWord(places.startPoint + 2)));
    EXPECT_EQ(edit("EditBGColor")->text(), QString::number(romByte(places.darkness + 1)));
    EXPECT_EQ(edit("EditBGDarkness")->text(), QString::number(romByte(places.darkness + 2)));
    EXPECT_EQ(edit("EditTilemapStart")->text(), QString::number(romWord(places.cameraBlock)));
    EXPECT_EQ(edit("EditTilemapEnd")->text(), QString::number(romWord(places.cameraBlock + 2)));
    const uint8_t bits = romByte(places.darkness);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(flag(i)->isChecked(), bool(bits & (0x80 >> i))) << char('A' + i);

    const uint32_t values[] = {romWord(places.fg), romWord(places.bg), romWord(places.music),
                               romWord(places.func) | uint32_t(romWord(places.func + 2)) << 16,
                               romWord(places.startAction)};
    for (int i = 0; i < 5; ++i) {
        const QString key = QString::asprintf("%04X:", values[i]);
        // No item shown is no text, which starts with no key.
        const QString shown = combo(ComboBoxes[i])->currentText();
        EXPECT_TRUE(shown.startsWith(key)) << ComboBoxes[i] << ": \"" << shown.toStdString() << '"';
    }
    FormLevelSetting->reject();
}

// --- Name lists --------------------------------------------------------------------------

class NameListTest : public LevelSettingTest
{
protected:
    void SetUp() override
    {
        makeFolder();
        std::string text = readText("Data/offsets.ini");
        for (const char *section : {"FG list", "FG name", "BG list", "Music list", "Function list",
                                    "Function name", "Start action list", "Start action name"})
            removeSection(text, section);
        text += "[FG list]\n0=0x1A\n1=0x2B\n3=0x3C\n"
                "[FG name]\n001A=Grass\n003C=Never read\n"
                "[BG list]\n1=5\n"
                "[Music list]\n0=0\n1=7\n"
                "[Function list]\n0=0x1C0A1\n1=$10\n2=abc\n3=4\n"
                "[Function name]\n1C0A1=Wide\n0004=After the gap\n"
                "[Start action list]\n0=3\n1=-2\n2=3\n"
                "[Start action name]\n0003=Twice\nFFFFFFFE=Negative\n";
        writeText("Data/offsets.ini", text);
        createWindows();
        openDemoRom();
        places = placesOf(session().LevelNumber);
    }

    static void removeSection(std::string &text, const std::string &name)
    {
        const size_t start = text.find("[" + name + "]");
        ASSERT_NE(start, std::string::npos) << name;
        const size_t end = text.find('[', start + 1);
        text.erase(start, end == std::string::npos ? std::string::npos : end - start);
    }
};

TEST_F(NameListTest, ListsRunToTheFirstMissingZeroOrUnreadableKey)
{
    openDialog();
    EXPECT_EQ(items("ComboBoxFG"), (QStringList{"001A:Grass", "002B:"}));
    EXPECT_EQ(items("ComboBoxBG"), QStringList{});
    EXPECT_EQ(items("ComboBoxMusic"), QStringList{});
    EXPECT_EQ(items("ComboBoxFunc"), (QStringList{"1C0A1:Wide", "0010:"}));
    EXPECT_EQ(items("ComboBoxStartAction"), (QStringList{"0003:Twice", "FFFFFFFE:Negative", "0003:Twice"}));
    FormLevelSetting->reject();
}

TEST_F(NameListTest, SelectsTheFirstItemOfAValueAndNoneForAnUnlistedValue)
{
    patchWord(places.fg, 0x2B);
    patchWord(places.startAction, 3);
    patchWord(places.bg, 5);
    openDialog();
    EXPECT_EQ(combo("ComboBoxFG")->currentIndex(), 1);
    EXPECT_EQ(combo("ComboBoxStartAction")->currentIndex(), 0);
    EXPECT_EQ(combo("ComboBoxBG")->currentIndex(), -1);
    EXPECT_TRUE(combo("ComboBoxBG")->currentText().isEmpty());
    FormLevelSetting->reject();
}

TEST_F(NameListTest, AnUnselectedListLeavesItsFieldWhileTheOthersAreWritten)
{
    patchWord(places.fg, 0x77);
    patchWord(places.func, 0x10);
    patchWord(places.func + 2, 0);
    const uint16_t fgBefore = romWord(places.fg);
    openDialog();
    ASSERT_EQ(combo("ComboBoxFG")->currentIndex(), -1);
    combo("ComboBoxFunc")->setCurrentIndex(0);
    typeInto(edit("EditStartX"), QStringLiteral("$10"));
    clickButton(FormLevelSetting, "ButtonOK");
    EXPECT_EQ(FormLevelSetting->result(), 1);
    EXPECT_EQ(romWord(places.fg), fgBefore);
    EXPECT_EQ(romWord(places.func), 0xC0A1);
    EXPECT_EQ(romWord(places.func + 2), 0x0001);
    EXPECT_EQ(romWord(places.startPoint), 16);
}

TEST_F(NameListTest, ListsAreReadAtTheFirstOpeningOnly)
{
    openDialog();
    FormLevelSetting->reject();
    session().OffsetsIni.writeString("FG list", "2", "0x4D");
    session().OffsetsIni.writeString("Function list", "2", "0x4D");
    openDialog();
    EXPECT_EQ(combo("ComboBoxFG")->count(), 2);
    EXPECT_EQ(combo("ComboBoxFunc")->count(), 2);
    FormLevelSetting->reject();
}

TEST_F(NameListTest, AnEmptyFGListMakesEveryOpeningReadAllListsAgain)
{
    session().OffsetsIni.writeString("FG list", "0", "0");
    openDialog();
    FormLevelSetting->reject();
    ASSERT_EQ(combo("ComboBoxFG")->count(), 0);
    session().OffsetsIni.writeString("Music list", "0", "9");
    openDialog();
    ASSERT_EQ(combo("ComboBoxMusic")->count(), 2) << "key 1 of the Music list holds 7";
    EXPECT_EQ(combo("ComboBoxMusic")->itemText(0), QStringLiteral("0009:"));
    EXPECT_EQ(combo("ComboBoxFunc")->count(), 2) << "read again, not appended";
    FormLevelSetting->reject();
}

// --- OK and Cancel -----------------------------------------------------------------------

TEST_F(LevelSettingTest, NumbersReadInEveryIntegerFormAndUnreadableOnesLeaveTheirField)
{
    const std::vector<uint8_t> before = romBytes();
    openDialog();
    typeInto(edit("EditStartX"), QStringLiteral("$10"));
    typeInto(edit("EditStartY"), QStringLiteral("0x10"));
    typeInto(edit("EditBGColor"), QStringLiteral("300"));
    typeInto(edit("EditBGDarkness"), QStringLiteral("abc"));
    typeInto(edit("EditTilemapStart"), QStringLiteral("-1"));
    typeInto(edit("EditTilemapEnd"), QString());
    clickButton(FormLevelSetting, "ButtonOK");

    EXPECT_EQ(romWord(places.startPoint), 16);
    EXPECT_EQ(romWord(places.startPoint + 2), 16);
    EXPECT_EQ(romByte(places.darkness + 1), 0x2C);
    EXPECT_EQ(romByte(places.darkness + 2), before[size_t(places.darkness + 2)]);
    EXPECT_EQ(romWord(places.cameraBlock), 0xFFFF);
    EXPECT_EQ(romWord(places.cameraBlock + 2), before[size_t(places.cameraBlock + 2)] | before[size_t(places.cameraBlock + 3)] << 8);
    // Nothing but this stage's fields changed: not byte 3 of its darkness entry, not the
    // next stage's entries.
    const std::set<int64_t> fields{places.startPoint, places.startPoint + 1, places.startPoint + 2,
                                   places.startPoint + 3, places.darkness + 1, places.cameraBlock,
                                   places.cameraBlock + 1};
    for (int64_t offset : changedOffsets(before, romBytes()))
        EXPECT_TRUE(fields.count(offset)) << std::hex << offset;
}

TEST_F(LevelSettingTest, TheCheckBoxesGiveTheWholeDarknessByte)
{
    openDialog();
    for (int i = 0; i < 8; ++i) {
        // A, C and H: an order that does not read the same backwards.
        if (flag(i)->isChecked() != (i == 0 || i == 2 || i == 7))
            QTest::mouseClick(flag(i), Qt::LeftButton);
    }
    const uint8_t spare = romByte(places.darkness + 3);
    clickButton(FormLevelSetting, "ButtonOK");
    EXPECT_EQ(romByte(places.darkness), 0xA1);
    EXPECT_EQ(romByte(places.darkness + 3), spare);
}

TEST_F(LevelSettingTest, OkWithoutChangesRewritesTheSameBytesAndReloadsTheStage)
{
    fillSpriteBoxes();
    const std::vector<uint8_t> before = romBytes();
    runStageConfig([] { clickButton(FormLevelSetting, "ButtonOK"); });
    EXPECT_EQ(FormLevelSetting->result(), 1);
    EXPECT_EQ(romBytes(), before);
    EXPECT_TRUE(stageReloaded());
}

TEST_F(LevelSettingTest, CancelAfterChangingEveryControlWritesNothingAndDoesNotReload)
{
    fillSpriteBoxes();
    const std::vector<uint8_t> before = romBytes();
    runStageConfig([] {
        for (const char *name : ComboBoxes)
            combo(name)->setCurrentIndex(combo(name)->count() - 1);
        for (const char *name : NumberEdits)
            typeInto(edit(name), QStringLiteral("12"));
        for (int i = 0; i < 8; ++i)
            QTest::mouseClick(flag(i), Qt::LeftButton);
        clickButton(FormLevelSetting, "ButtonCancel");
    });
    EXPECT_EQ(FormLevelSetting->result(), 0);
    EXPECT_EQ(romBytes(), before);
    EXPECT_FALSE(stageReloaded());

    // A cancelled edit does not show up at the next opening.
    openDialog();
    EXPECT_EQ(edit("EditStartX")->text(), QString::number(romWord(places.startPoint)));
    FormLevelSetting->reject();
}

TEST_F(LevelSettingTest, EscapeCancelsAndEnterPressesOk)
{
    const std::vector<uint8_t> before = romBytes();
    runStageConfig([] {
        typeInto(edit("EditStartX"), QStringLiteral("99"));
        QTest::keyClick(edit("EditStartX"), Qt::Key_Escape);
    });
    EXPECT_EQ(FormLevelSetting->result(), 0);
    EXPECT_EQ(romBytes(), before);

    runStageConfig([] {
        typeInto(edit("EditStartX"), QStringLiteral("99"));
        QTest::keyClick(edit("EditStartX"), Qt::Key_Return);
    });
    EXPECT_EQ(FormLevelSetting->result(), 1);
    EXPECT_EQ(romWord(places.startPoint), 99);

    // Enter on the focused Cancel button cancels.
    runStageConfig([] {
        typeInto(edit("EditStartX"), QStringLiteral("98"));
        auto *cancel = control<QPushButton>(FormLevelSetting, "ButtonCancel");
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
    });
    EXPECT_EQ(FormLevelSetting->result(), 0);
    EXPECT_EQ(romWord(places.startPoint), 99);
}

TEST_F(LevelSettingTest, F12OpensTheDialogOnTheMainWindow)
{
    FormMain->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FormMain));
    bool shown = false;
    QTimer::singleShot(0, FormLevelSetting, [&] {
        shown = FormLevelSetting->isVisible();
        clickButton(FormLevelSetting, "ButtonCancel");
    });
    QTest::keyClick(FormMain, Qt::Key_F12);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(FormLevelSetting->isVisible());
}

TEST_F(LevelSettingTest, OkChangesTheForegroundRangeAndStartPointOfTheShownStage)
{
    const int32_t widthBefore = session().Stage.MapWidth;
    const int32_t tilemapBefore = session().Stage.FGTilemap;
    const int32_t endBefore = romWord(places.cameraBlock + 2);
    runStageConfig([endBefore] {
        // Another foreground set: the item after the stage's own.
        QComboBox *fg = combo("ComboBoxFG");
        fg->setCurrentIndex((fg->currentIndex() + 1) % fg->count());
        typeInto(edit("EditTilemapEnd"), QString::number(endBefore - 32 * 10));
        typeInto(edit("EditStartX"), QStringLiteral("200"));
        typeInto(edit("EditStartY"), QStringLiteral("48"));
        clickButton(FormLevelSetting, "ButtonOK");
    });
    const tamo::Stage &stage = session().Stage;
    EXPECT_EQ(stage.FGWord, romWord(places.fg));
    EXPECT_NE(stage.FGTilemap, tilemapBefore);
    EXPECT_EQ(stage.TilemapEnd, endBefore - 320);
    EXPECT_EQ(stage.MapWidth, widthBefore - 10);
    EXPECT_EQ(stage.StartX, 200);
    EXPECT_EQ(stage.StartY, 48);
    EXPECT_EQ(control<QWidget>(FormMain, "ImageMain")->width(), stage.MapWidth * 32);
}

// --- Settings outside the image ----------------------------------------------------------

TEST_F(LevelSettingTest, SettingsPastTheImageCannotBeEditedAndNothingIsWritten)
{
    const tamo::OffsetTable offsets = session().OffsetTable;
    session().OffsetTable.Darkness = session().RomImage.size() - 2;
    messages.clear();
    const std::vector<uint8_t> before = romBytes();
    openDialog();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("outside the ROM image"))) << messages[0].toStdString();
    EXPECT_FALSE(control<QPushButton>(FormLevelSetting, "ButtonOK")->isEnabled());
    for (const char *name : NumberEdits)
        EXPECT_TRUE(edit(name)->text().isEmpty()) << name;
    QTest::keyClick(edit("EditStartX"), Qt::Key_Return);
    EXPECT_EQ(FormLevelSetting->result(), 0);
    FormLevelSetting->reject();
    EXPECT_EQ(romBytes(), before);

    // Back inside, the next opening may write again.
    session().OffsetTable = offsets;
    openDialog();
    EXPECT_TRUE(control<QPushButton>(FormLevelSetting, "ButtonOK")->isEnabled());
    FormLevelSetting->reject();
}

} // namespace
