#include "core/stage.h"
#include "forms/UnitBananaEdit.h"
#include "tests/forms/editor_test_support.h"

namespace {

// The banana editor on the demo ROM, stage LevelNumber, with the window shown.
class BananaEditorTest : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        openDemoRom();
        showWindow(FormBananaEdit);
        list = control<QListWidget>(FormBananaEdit, "ListBoxBanana");
        ASSERT_GE(list->count(), 3) << "the tests need a stage with at least three bananas";
    }

    // An index byte per stage, a distance per index, from the second table's start.
    static int64_t listOffset(int32_t level)
    {
        const tamo::OffsetTable &offsets = session().OffsetTable;
        const uint8_t index = romByte(offsets.Banana + int64_t(level));
        return int64_t(offsets.Banana2) + romByte(offsets.Banana2 + int64_t(index));
    }
    static int64_t recordAt(int index) { return listOffset(session().LevelNumber) + 4 * index; }

    static QString expectedLine(int index)
    {
        const int64_t at = recordAt(index);
        return QString::asprintf("%d:G=%02X,X=%d,Y=%d", index, romByte(at), romWord(at + 2), romByte(at + 1));
    }

    QLineEdit *edit(const char *name) const { return control<QLineEdit>(FormBananaEdit, name); }

    void update(int line, const QString &group, const QString &x, const QString &y)
    {
        clickLine(list, line);
        typeInto(edit("EditBananaGroup"), group);
        typeInto(edit("EditBananaX"), x);
        typeInto(edit("EditBananaY"), y);
        clickButton(FormBananaEdit, "ButtonUpdate");
    }

    QListWidget *list = nullptr;
};

TEST_F(BananaEditorTest, ListsEveryRecordWithXBeforeY)
{
    int count = 0;
    while (romByte(recordAt(count)) != 0)
        ++count;
    ASSERT_EQ(list->count(), count);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(list->item(i)->text(), expectedLine(i));
    EXPECT_EQ(edit("EditAddress")->text(),
              QString::asprintf("%06llX", (long long)listOffset(session().LevelNumber)));
    EXPECT_EQ(FormBananaEdit->windowTitle(), QStringLiteral("Bananas Edit"));
}

TEST_F(BananaEditorTest, AGroupOfZeroEndsTheList)
{
    patchByte(recordAt(1), 0);
    session().LoadStage();
    EXPECT_EQ(lines(list), QStringList{expectedLine(0)});
    patchByte(recordAt(0), 0);
    session().LoadStage();
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(edit("EditAddress")->text().isEmpty());
}

TEST_F(BananaEditorTest, ClickingALineFillsGroupXAndY)
{
    for (int i = 0; i < list->count(); ++i) {
        clickLine(list, i);
        EXPECT_EQ(edit("EditBananaGroup")->text(), QString::asprintf("0x%02X", romByte(recordAt(i))));
        EXPECT_EQ(edit("EditBananaX")->text(), QString::number(romWord(recordAt(i) + 2)));
        EXPECT_EQ(edit("EditBananaY")->text(), QString::number(romByte(recordAt(i) + 1)));
    }
}

TEST_F(BananaEditorTest, UpdateWritesGroupYAndXInRecordOrder)
{
    const std::vector<uint8_t> before = romBytes();
    update(2, QStringLiteral("0x07"), QStringLiteral("70000"), QStringLiteral("300"));
    const int64_t at = recordAt(2);
    for (int64_t offset : changedOffsets(before, romBytes()))
        EXPECT_TRUE(offset >= at && offset < at + 4) << std::hex << offset;
    EXPECT_EQ(romByte(at), 0x07);
    EXPECT_EQ(romByte(at + 1), 44);
    EXPECT_EQ(romWord(at + 2), 0x1170);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("2:G=07,X=4464,Y=44"));
    EXPECT_EQ(selectedLine(list), 2);
    EXPECT_EQ(edit("EditBananaY")->text(), QStringLiteral("300"));
}

TEST_F(BananaEditorTest, UnreadableTextGivesGroupTwoAndZeroPositions)
{
    update(0, QString(), QStringLiteral("x"), QString());
    EXPECT_EQ(romByte(recordAt(0)), 2);
    EXPECT_EQ(romByte(recordAt(0) + 1), 0);
    EXPECT_EQ(romWord(recordAt(0) + 2), 0);
}

TEST_F(BananaEditorTest, WritingGroupZeroShortensTheList)
{
    const int count = list->count();
    update(1, QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"));
    EXPECT_EQ(romByte(recordAt(1)), 0);
    EXPECT_EQ(lines(list), QStringList{expectedLine(0)});
    EXPECT_EQ(selectedLine(list), -1);
    EXPECT_LT(list->count(), count);
}

TEST_F(BananaEditorTest, StagesWithTheSameIndexByteShareOneList)
{
    const int32_t first = session().LevelNumber;
    const int32_t second = first == 0 ? 1 : first - 1;
    // Give the second stage the first one's index byte.
    patchByte(session().OffsetTable.Banana + second, romByte(session().OffsetTable.Banana + first));
    update(0, QStringLiteral("0x05"), QStringLiteral("4321"), QStringLiteral("12"));
    const QStringList firstLines = lines(list);
    const QString firstAddress = edit("EditAddress")->text();

    session().LevelNumber = second;
    session().LoadStage();
    EXPECT_EQ(lines(list), firstLines);
    EXPECT_EQ(edit("EditAddress")->text(), firstAddress);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("0:G=05,X=4321,Y=12"));
}

TEST_F(BananaEditorTest, TheWindowFollowsTheForm)
{
    EXPECT_EQ(control<QWidget>(FormBananaEdit, "EditBananaGroup")->geometry(), QRect(248, 8, 193, 20));
    EXPECT_EQ(control<QWidget>(FormBananaEdit, "EditBananaX")->geometry(), QRect(248, 32, 193, 20));
    EXPECT_EQ(control<QWidget>(FormBananaEdit, "EditBananaY")->geometry(), QRect(248, 56, 193, 20));
    EXPECT_EQ(control<QWidget>(FormBananaEdit, "ButtonUpdate")->geometry(), QRect(208, 88, 200, 25));
    EXPECT_EQ(control<QWidget>(FormBananaEdit, "EditAddress")->geometry(), QRect(224, 160, 185, 20));
    FormBananaEdit->resize(450, 300);
    QApplication::processEvents();
    EXPECT_EQ(list->geometry(), QRect(0, 0, 200, 300));
}

class BananaListOutsideTest : public EditorTest
{
protected:
    void SetUp() override {} // the test prepares the folder first
};

TEST_F(BananaListOutsideTest, AListPastTheImageShowsItsAddressAndUpdateSaysWhy)
{
    makeFolder();
    // The distance table at the image's last 256 bytes, and this stage's distance 255:
    // its list starts at the image's last byte, with no room for a record.
    const auto romSize = int64_t(std::filesystem::file_size(dataFile("demo.smc")));
    editDataIni("Data/offsets.ini", "Offset", "Banana2", std::to_string(romSize - 256));
    createWindows();
    openDemoRom();
    const uint8_t index = romByte(session().OffsetTable.Banana + session().LevelNumber);
    patchByte(romSize - 256 + index, 255);
    session().LoadStage();
    showWindow(FormBananaEdit);
    const int64_t offset = romSize - 1;
    EXPECT_EQ(control<QListWidget>(FormBananaEdit, "ListBoxBanana")->count(), 0);
    EXPECT_EQ(control<QLineEdit>(FormBananaEdit, "EditAddress")->text(),
              QString::asprintf("%06llX", (long long)offset));

    messages.clear();
    const std::vector<uint8_t> before = romBytes();
    clickButton(FormBananaEdit, "ButtonUpdate");
    EXPECT_EQ(romBytes(), before);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("outside the ROM image"))) << messages[0].toStdString();
}

} // namespace
