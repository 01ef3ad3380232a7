#include "forms/UnitCameraEdit.h"
#include "tests/forms/editor_test_support.h"

#include <QAction>
#include <QImage>

namespace {

// The camera editor on the demo ROM, stage LevelNumber, with the window shown.
class CameraEditorTest : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        openDemoRom();
        showWindow(FormCameraEdit);
        list = control<QListWidget>(FormCameraEdit, "ListBoxCamera");
        ASSERT_GE(list->count(), 3) << "the tests need a stage with at least three cameras";
    }

    // The block starts four bytes before where the pointer table points.
    static int64_t blockOffset()
    {
        const tamo::OffsetTable &offsets = session().OffsetTable;
        return romWord(offsets.Camera + 2 * int64_t(session().LevelNumber)) + int64_t(offsets.BaseCamera) - 4;
    }
    static int64_t recordAt(int index) { return blockOffset() + 8 + 4 * index; }

    static QString expectedLine(int index)
    {
        return QString::asprintf("%d:X=%d,Y=%d", index, romWord(recordAt(index)), romWord(recordAt(index) + 2));
    }

    QLineEdit *edit(const char *name) const { return control<QLineEdit>(FormCameraEdit, name); }

    void update(int line, const QString &x, const QString &y)
    {
        clickLine(list, line);
        typeInto(edit("EditX"), x);
        typeInto(edit("EditY"), y);
        clickButton(FormCameraEdit, "ButtonUpdate");
    }

    QListWidget *list = nullptr;
};

TEST_F(CameraEditorTest, ListsEveryCameraAndShowsTheBlockOffset)
{
    int count = 0;
    while (romWord(recordAt(count)) != 0xFFFF && romWord(recordAt(count) + 2) != 0xFFFF)
        ++count;
    ASSERT_EQ(list->count(), count);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(list->item(i)->text(), expectedLine(i));
    // The block's start, eight bytes before the first camera record.
    EXPECT_EQ(edit("EditAddress")->text(), QString::asprintf("%06llX", (long long)blockOffset()));
    EXPECT_EQ(FormCameraEdit->windowTitle(), QStringLiteral("Cameras Edit"));
}

TEST_F(CameraEditorTest, EitherCoordinateAt0xFFFFEndsTheList)
{
    patchWord(recordAt(2), 0xFFFF);
    session().LoadStage();
    EXPECT_EQ(lines(list), (QStringList{expectedLine(0), expectedLine(1)}));

    patchWord(recordAt(2), 100);
    patchWord(recordAt(1) + 2, 0xFFFF);
    session().LoadStage();
    EXPECT_EQ(lines(list), QStringList{expectedLine(0)});

    patchWord(recordAt(0), 0xFFFF);
    session().LoadStage();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(edit("EditAddress")->text(), QString::asprintf("%06llX", (long long)blockOffset()));
}

TEST_F(CameraEditorTest, ClickingALineFillsXAndY)
{
    for (int i = 0; i < list->count(); ++i) {
        clickLine(list, i);
        EXPECT_EQ(edit("EditX")->text(), QString::number(romWord(recordAt(i))));
        EXPECT_EQ(edit("EditY")->text(), QString::number(romWord(recordAt(i) + 2)));
    }
}

TEST_F(CameraEditorTest, UpdateWritesTheFourBytesOfTheRecordOnly)
{
    const std::vector<uint8_t> before = romBytes();
    update(1, QStringLiteral("0x0123"), QStringLiteral("70000"));
    for (int64_t offset : changedOffsets(before, romBytes()))
        EXPECT_TRUE(offset >= recordAt(1) && offset < recordAt(1) + 4) << std::hex << offset;
    EXPECT_EQ(romWord(recordAt(1)), 0x0123);
    EXPECT_EQ(romWord(recordAt(1) + 2), 0x1170);
    // The block's head (the tilemap range and the four bytes after it) stays.
    for (int64_t at = blockOffset(); at < blockOffset() + 8; ++at)
        EXPECT_EQ(romByte(at), before[size_t(at)]);

    EXPECT_EQ(list->item(1)->text(), expectedLine(1));
    EXPECT_EQ(selectedLine(list), 1);
    EXPECT_EQ(edit("EditX")->text(), QStringLiteral("0x0123"));
    EXPECT_EQ(edit("EditY")->text(), QStringLiteral("70000"));
}

TEST_F(CameraEditorTest, UpdateRedrawsTheCameraMarks)
{
    ASSERT_TRUE(FormMain->ViewCameraMark->isChecked());
    auto *image = control<QWidget>(FormMain, "ImageMain");
    const QImage before = image->grab().toImage();
    update(0, QString::number(romWord(recordAt(0)) + 96), QString::number(romWord(recordAt(0) + 2)));
    QApplication::processEvents();
    EXPECT_NE(image->grab().toImage(), before);
}

TEST_F(CameraEditorTest, EmptyTextWritesZero)
{
    update(0, QString(), QStringLiteral("abc"));
    EXPECT_EQ(romWord(recordAt(0)), 0);
    EXPECT_EQ(romWord(recordAt(0) + 2), 0);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("0:X=0,Y=0"));
}

TEST_F(CameraEditorTest, WritingMinusOneEndsTheListAtTheSelectedRecord)
{
    update(2, QStringLiteral("-1"), QStringLiteral("5"));
    EXPECT_EQ(romWord(recordAt(2)), 0xFFFF);
    EXPECT_EQ(lines(list), (QStringList{expectedLine(0), expectedLine(1)}));
    EXPECT_EQ(selectedLine(list), -1);

    update(1, QStringLiteral("5"), QStringLiteral("65535"));
    EXPECT_EQ(romWord(recordAt(1) + 2), 0xFFFF);
    EXPECT_EQ(lines(list), QStringList{expectedLine(0)});
}

TEST_F(CameraEditorTest, TheWindowFollowsTheForm)
{
    EXPECT_EQ(control<QWidget>(FormCameraEdit, "EditX")->geometry(), QRect(208, 24, 233, 20));
    EXPECT_EQ(control<QWidget>(FormCameraEdit, "EditY")->geometry(), QRect(208, 64, 233, 20));
    EXPECT_EQ(control<QWidget>(FormCameraEdit, "ButtonUpdate")->geometry(), QRect(208, 96, 200, 25));
    EXPECT_EQ(control<QWidget>(FormCameraEdit, "EditAddress")->geometry(), QRect(216, 176, 185, 20));
    EXPECT_TRUE(edit("EditAddress")->isReadOnly());
    FormCameraEdit->resize(450, 333);
    QApplication::processEvents();
    EXPECT_EQ(list->geometry(), QRect(0, 0, 200, 333));
}

class CameraListOutsideTest : public EditorTest
{
protected:
    void SetUp() override {} // the test prepares the folder first
};

TEST_F(CameraListOutsideTest, ACameraTablePastTheImageShowsNothingAndUpdateSaysWhy)
{
    makeFolder();
    createWindows();
    openDemoRom();
    showWindow(FormCameraEdit);
    auto *list = control<QListWidget>(FormCameraEdit, "ListBoxCamera");
    ASSERT_GT(list->count(), 0);
    clickLine(list, 0);

    // The pointer table itself now lies past the end: there is no block to show.
    session().OffsetTable.Camera = session().RomImage.size();
    FormCameraEdit->RefreshList(false);
    EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(control<QLineEdit>(FormCameraEdit, "EditAddress")->text().isEmpty());

    messages.clear();
    const std::vector<uint8_t> before = romBytes();
    clickButton(FormCameraEdit, "ButtonUpdate");
    EXPECT_EQ(romBytes(), before);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("camera list"))) << messages[0].toStdString();
}

} // namespace
