#include "tests/forms/main_window_test_support.h"

#include "core/file_system.h"
#include "forms/UnitChip.h"

#include <QAction>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>

namespace {

// Restore points, the check of the file on disk and the stale copies of saves, on the
// demo ROM with its current stage shown.
class NeverLoseWorkTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        openDemoRom();
        original = fileBytes();
        ASSERT_EQ(romBytes(), original);
    }

    std::vector<uint8_t> fileBytes() const { return tamo::fs::readWholeFile(dataFile("demo.smc")); }
    // Another program writes the file, in place.
    void writeFileBytes(const std::vector<uint8_t> &bytes) const
    {
        writeText("demo.smc", std::string(bytes.begin(), bytes.end()));
    }

    static void paintCell(int column, int chip)
    {
        activate(FormMain);
        FormMain->Pen.CurrentChip = chip;
        QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(column, 3));
    }
    static void save()
    {
        activate(FormMain);
        pressKey(Qt::Key_S, Qt::ControlModifier);
    }
    std::vector<std::filesystem::path> restorePointFiles() const
    {
        std::vector<std::filesystem::path> files;
        const std::filesystem::path folder = dataFile("Backups/demo.smc");
        if (std::filesystem::exists(folder)) {
            for (const auto &entry : std::filesystem::directory_iterator(folder))
                files.push_back(entry.path());
        }
        return files;
    }
    static QStringList row(const QTreeWidget *list, int line)
    {
        QStringList texts;
        for (int column = 0; column < list->columnCount(); ++column)
            texts << list->topLevelItem(line)->text(column);
        return texts;
    }

    std::vector<uint8_t> original;
};

} // namespace

TEST_F(NeverLoseWorkTest, ThreeSavesKeepThreeRestorePointsAndTheFirstComesBackAsOneStep)
{
    for (int save = 0; save < 3; ++save) {
        paintCell(save, 300 + save);
        this->save();
    }
    const std::vector<uint8_t> edited = romBytes();
    ASSERT_EQ(fileBytes(), edited);
    ASSERT_EQ(restorePointFiles().size(), 3u);

    QStringList oldest;
    whenModalShown([&](QWidget *dialog) {
        auto *list = control<QTreeWidget>(dialog, "ListViewRestorePoints");
        ASSERT_EQ(list->topLevelItemCount(), 3);
        oldest = row(list, 2);
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
    EXPECT_TRUE(FormMain->isWindowModified());
    activate(FormMain);
    pressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(romBytes(), edited);
    pressKey(Qt::Key_Y, Qt::ControlModifier);
    save();
    EXPECT_EQ(fileBytes(), original);
    EXPECT_EQ(restorePointFiles().size(), 4u);
}

TEST_F(NeverLoseWorkTest, ARestorePointThatCannotBeWrittenStopsTheSaveBeforeTheFileIsTouched)
{
    paintCell(0, 300);
    writeText("Backups", "a file where the folder would be");
    messages.clear();
    save();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("not saved"))) << messages.first().toStdString();
    EXPECT_EQ(fileBytes(), original);
    EXPECT_TRUE(FormMain->isWindowModified());
}

TEST_F(NeverLoseWorkTest, SaveAsksBeforeWritingOverAFileAnotherProgramChangedOrPutInItsPlace)
{
    paintCell(0, 300);
    std::vector<uint8_t> theirs = original;
    theirs[100] ^= 0xFF;
    writeFileBytes(theirs);

    yesNoAnswer = false;
    messages.clear();
    save();
    ASSERT_EQ(yesNoQuestions.size(), 1);
    EXPECT_TRUE(yesNoQuestions.last().contains(QStringLiteral("changed by another program")));
    EXPECT_TRUE(messages.isEmpty()) << "no save, no success message";
    EXPECT_EQ(fileBytes(), theirs);

    // A link to another file put in the file's place.
    const std::filesystem::path elsewhere = dataFile("elsewhere.smc");
    tamo::fs::writeWholeFile(elsewhere, theirs);
    std::filesystem::remove(dataFile("demo.smc"));
    std::filesystem::create_symlink(elsewhere, dataFile("demo.smc"));
    save();
    ASSERT_EQ(yesNoQuestions.size(), 2);
    EXPECT_TRUE(yesNoQuestions.last().contains(QStringLiteral("another file"))) << yesNoQuestions.last().toStdString();
    EXPECT_EQ(tamo::fs::readWholeFile(elsewhere), theirs);

    yesNoAnswer = true;
    const std::vector<uint8_t> edited = romBytes();
    save();
    EXPECT_EQ(tamo::fs::readWholeFile(elsewhere), edited);
    EXPECT_EQ(messages.last(), demoRom() + QStringLiteral("を保存しました。"));
}

TEST_F(NeverLoseWorkTest, ComingBackToTheWindowOffersToLoadAFileAnotherProgramWrote)
{
    paintCell(0, 300);
    const std::vector<uint8_t> edited = romBytes();
    std::vector<uint8_t> theirs = original;
    theirs[100] ^= 0xFF;
    writeFileBytes(theirs);

    activate(FormChip);
    activate(FormMain);
    QApplication::processEvents();
    ASSERT_EQ(yesNoQuestions.size(), 1);
    EXPECT_TRUE(yesNoQuestions.first().contains(QStringLiteral("Load it again"))) << yesNoQuestions.first().toStdString();
    EXPECT_EQ(romBytes(), theirs);
    EXPECT_FALSE(FormMain->isWindowModified()) << "the image is the file's again";

    // Asked once; Undo takes the reload back.
    activate(FormChip);
    activate(FormMain);
    QApplication::processEvents();
    EXPECT_EQ(yesNoQuestions.size(), 1);
    pressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(romBytes(), edited);
    EXPECT_TRUE(FormMain->isWindowModified());
}

TEST_F(NeverLoseWorkTest, OpeningRemovesTheCopiesThatSavesCutShortLeft)
{
    writeText("demo.smc.saving-Ab12Cd", "half a copy");
    writeText("demo.smc.saving-notes", "not a copy of a save");
    openDemoRom();
    EXPECT_FALSE(std::filesystem::exists(dataFile("demo.smc.saving-Ab12Cd")));
    EXPECT_TRUE(std::filesystem::exists(dataFile("demo.smc.saving-notes")));
    EXPECT_TRUE(messages.isEmpty());
}
