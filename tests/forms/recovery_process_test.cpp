#include "tests/forms/main_window_test_support.h"

#include "core/file_system.h"

#include <QProcess>

namespace {

// The editor killed with unsaved edits, and started again on the same program folder.
class RecoveryProcessTest : public MainWindowTest
{
protected:
    void SetUp() override { makeFolder(); }
};

} // namespace

TEST_F(RecoveryProcessTest, TwentyEditsOfAKilledEditorComeBackByteForByteWithOneAnswer)
{
    const std::vector<uint8_t> original = tamo::fs::readWholeFile(dataFile("demo.smc"));
    const std::filesystem::path edited = dataFile("edited.bin");
    QProcess editor;
    editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    editor.start(QStringLiteral(TAMO_RECOVERY_DRIVER),
                 {QString::fromStdString(programDir().string()), demoRom(), QString::fromStdString(edited.string())});
    QString said;
    while (!said.contains(QLatin1Char('\n')) && editor.waitForReadyRead(60000))
        said += QString::fromLocal8Bit(editor.readAllStandardOutput());
    ASSERT_EQ(said, QStringLiteral("journal written after 20 steps\n"));
    editor.kill();
    ASSERT_TRUE(editor.waitForFinished(30000));
    EXPECT_EQ(editor.exitStatus(), QProcess::CrashExit);
    ASSERT_EQ(tamo::fs::readWholeFile(dataFile("demo.smc")), original) << "the file was never written";

    createWindows(demoRom());
    ASSERT_EQ(yesNoQuestions.size(), 1);
    EXPECT_TRUE(yesNoQuestions.first().contains(QStringLiteral("20 unsaved edits"))) << yesNoQuestions.first().toStdString();
    const std::vector<uint8_t> expected = tamo::fs::readWholeFile(edited);
    EXPECT_FALSE(changedOffsets(original, expected).empty());
    EXPECT_TRUE(romBytes() == expected);
    EXPECT_TRUE(FormMain->isWindowModified());
    EXPECT_EQ(tamo::fs::readWholeFile(dataFile("demo.smc")), original);

    // One step brought them; one undo takes them back.
    activate(FormMain);
    pressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(romBytes() == original);
}

TEST_F(RecoveryProcessTest, NoThrowsTheEditsAwayAndEditsOfOtherBytesAreNeverAppliedAndToldOnce)
{
    createWindows(demoRom());
    const std::vector<uint8_t> original = romBytes();
    const auto editAndCrash = [&] {
        session().Document->edit(RomEdit{QStringLiteral("t"), EditScope::WholeImage, 22,
                                         tamo::RomPatch().writeByte(10, uint8_t(original[10] + 1), "t")});
        session().Journal->writeNow();
    };
    editAndCrash();
    yesNoAnswer = false;
    startAgainAfterACrash(demoRom());
    EXPECT_EQ(yesNoQuestions.size(), 1);
    EXPECT_EQ(romBytes(), original);
    EXPECT_FALSE(FormMain->isWindowModified());
    EXPECT_FALSE(std::filesystem::exists(session().Journal->pathFor(session().RomFileName)));

    editAndCrash();
    std::vector<uint8_t> theirs = original;
    theirs[500] ^= 0xFF;
    tamo::fs::writeWholeFile(dataFile("demo.smc"), theirs);
    startAgainAfterACrash(demoRom());
    EXPECT_EQ(yesNoQuestions.size(), 1) << "nothing to ask about";
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("other bytes"))) << messages.first().toStdString();
    EXPECT_EQ(romBytes(), theirs);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dataFile("Config/recovery")),
                            std::filesystem::directory_iterator()),
              1) << "the journal is kept aside";
    startAgainAfterACrash(demoRom());
    EXPECT_EQ(messages.size(), 1) << "told once";
}
