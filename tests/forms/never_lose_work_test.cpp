#include "tests/forms/main_window_test_support.h"

#include "core/file_system.h"
#include "forms/UnitChip.h"

#include <QAction>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>
#include <vector>

namespace {

// Restore points, the file on disk and the copies of saves cut short, on the demo ROM.
class NeverLoseWorkTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        openDemoRom();
        original = fileBytes();
        paintCell(0, 300);
        edited = romBytes();
    }

    std::vector<uint8_t> fileBytes() const { return tamo::fs::readWholeFile(dataFile("demo.smc")); }
    // Another program writes the file, in place, with one byte changed.
    std::vector<uint8_t> writeTheirs() const
    {
        std::vector<uint8_t> theirs = original;
        theirs[100] ^= 0xFF;
        writeText("demo.smc", std::string(theirs.begin(), theirs.end()));
        return theirs;
    }
    static void paintCell(int column, int chip)
    {
        activate(FormMain);
        session().Pen.CurrentChip = chip;
        QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(column, 3));
    }
    static void save()
    {
        activate(FormMain);
        pressKey(Qt::Key_S, Qt::ControlModifier);
    }

    std::vector<uint8_t> original;
    std::vector<uint8_t> edited;
};

} // namespace

TEST_F(NeverLoseWorkTest, ThreeSavesKeepThreeRestorePointsAndTheFirstComesBackAsOneStep)
{
    save();
    paintCell(1, 301);
    save();
    paintCell(2, 302);
    save();
    edited = romBytes();
    ASSERT_EQ(fileBytes(), edited);

    QStringList oldest;
    whenModalShown([&](QWidget *dialog) {
        auto *list = control<QTreeWidget>(dialog, "ListViewRestorePoints");
        ASSERT_EQ(list->topLevelItemCount(), 3);
        for (int column = 0; column < 4; ++column)
            oldest << list->topLevelItem(2)->text(column);
        list->setCurrentItem(list->topLevelItem(2));
        QTest::mouseClick(control<QPushButton>(dialog, "ButtonRestore"), Qt::LeftButton);
    });
    FormMain->FileRestorePoints->trigger();
    // The oldest holds the file as it was opened: the three cells differ, in stage 22.
    ASSERT_EQ(oldest.size(), 4);
    EXPECT_EQ(oldest[1], QString::number(original.size()));
    EXPECT_TRUE(oldest[2].split(QStringLiteral(", ")).contains(QStringLiteral("22"))) << oldest[2].toStdString();
    EXPECT_EQ(oldest[3], QString::number(changedOffsets(original, edited).size()));

    EXPECT_EQ(romBytes(), original);
    EXPECT_EQ(fileBytes(), edited) << "restoring reaches the file only by a save";
    activate(FormMain);
    pressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(romBytes(), edited);
    pressKey(Qt::Key_Y, Qt::ControlModifier);
    save();
    EXPECT_EQ(fileBytes(), original);
    // One folder for the one ROM file (named after it and its path), holding the four.
    const std::vector<std::filesystem::path> folders(std::filesystem::directory_iterator(dataFile("Backups")),
                                                     std::filesystem::directory_iterator{});
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_TRUE(folders.front().filename().string().starts_with("demo.smc.")) << folders.front();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folders.front()), std::filesystem::directory_iterator()),
              4);
}

TEST_F(NeverLoseWorkTest, ARestorePointThatCannotBeWrittenStopsTheSaveBeforeTheFileIsTouched)
{
    writeText("Backups", "a file where the folder would be");
    save();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("not saved"))) << messages.first().toStdString();
    EXPECT_EQ(fileBytes(), original);
}

TEST_F(NeverLoseWorkTest, SaveAsksBeforeWritingOverAFileAnotherProgramChangedOrPutInItsPlace)
{
    const std::vector<uint8_t> theirs = writeTheirs();
    yesNoAnswer = false;
    save();
    ASSERT_EQ(yesNoQuestions.size(), 1);
    EXPECT_TRUE(yesNoQuestions.last().contains(QStringLiteral("changed by another program")));
    EXPECT_TRUE(messages.isEmpty()) << "no save, no success message";
    EXPECT_EQ(fileBytes(), theirs);

    // A link to another file put in the file's place.
    const std::filesystem::path elsewhere = dataFile("elsewhere.smc");
    std::filesystem::copy_file(dataFile("demo.smc"), elsewhere);
    std::filesystem::remove(dataFile("demo.smc"));
    std::filesystem::create_symlink(elsewhere, dataFile("demo.smc"));
    save();
    ASSERT_EQ(yesNoQuestions.size(), 2);
    EXPECT_TRUE(yesNoQuestions.last().contains(QStringLiteral("another file"))) << yesNoQuestions.last().toStdString();
    EXPECT_EQ(tamo::fs::readWholeFile(elsewhere), theirs);

    yesNoAnswer = true;
    save();
    EXPECT_EQ(tamo::fs::readWholeFile(elsewhere), edited);
    EXPECT_EQ(messages, QStringList{demoRom() + QStringLiteral("を保存しました。")});
}

TEST_F(NeverLoseWorkTest, ComingBackToTheWindowOffersOnceToLoadAFileAnotherProgramWrote)
{
    const std::vector<uint8_t> theirs = writeTheirs();
    for (int comeBack = 0; comeBack < 2; ++comeBack) {
        activate(FormChip);
        activate(FormMain);
        QApplication::processEvents();
    }
    ASSERT_EQ(yesNoQuestions.size(), 1);
    EXPECT_TRUE(yesNoQuestions.first().contains(QStringLiteral("Load it again"))) << yesNoQuestions.first().toStdString();
    EXPECT_EQ(romBytes(), theirs);
    EXPECT_FALSE(FormMain->isWindowModified()) << "the image is the file's again";
    pressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(romBytes(), edited);
    EXPECT_TRUE(FormMain->isWindowModified());
}

TEST_F(NeverLoseWorkTest, OpeningRemovesTheCopiesThatSavesCutShortLeft)
{
    questionAnswer = UnsavedEditsAnswer::Discard;
    writeText("demo.smc.saving-Ab12Cd", "half a copy");
    openDemoRom();
    EXPECT_FALSE(std::filesystem::exists(dataFile("demo.smc.saving-Ab12Cd")));
    EXPECT_TRUE(messages.isEmpty());
}
