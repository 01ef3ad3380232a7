#include "tests/forms/main_window_test_support.h"

#include "core/file_system.h"
#include "tests/support/emulator_script.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUndoStack>

#include <filesystem>

#include <unistd.h>

namespace stdfs = std::filesystem;
using tamo::test::EmulatorScript;

namespace {

constexpr int scriptWaitMs = 20000;

// The demo ROM open, the system's temporary folder one of the test's own (where the
// copies are written), and a script as the emulator.
class TestInEmulatorTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        oldTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        stdfs::create_directory(scriptFolder());
        MainWindowTest::SetUp();
        openDemoRom();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        qputenv("TMPDIR", oldTemp);
    }

    stdfs::path scriptFolder() const { return stdfs::path(temp.path().toStdString()) / "script"; }
    stdfs::path copiesOfThisRun() const
    {
        return stdfs::path(temp.path().toStdString()) / ("tamo-emulator-copies-" + std::to_string(::getuid()))
            / ("run-" + std::to_string(::getpid()));
    }
    static void setCommand(const std::string &command)
    {
        session().ApplicationIni.writeString("Emulator", "Command", command);
    }
    static void testInEmulator()
    {
        activate(FormMain);
        pressKey(Qt::Key_R, Qt::ControlModifier);
    }

    QTemporaryDir temp;
    QByteArray oldTemp;
};

} // namespace

TEST_F(TestInEmulatorTest, CtrlRRunsTheUnsavedEditsOnACopyAndLeavesFileHistoryAndJournalAlone)
{
    const std::vector<uint8_t> file = tamo::fs::readWholeFile(dataFile("demo.smc"));
    activate(FormMain);
    session().Pen.CurrentChip = 300;
    QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(2, 3));
    const int64_t cell = cellOffset(2, 3);
    ASSERT_EQ(cellWord(2, 3), 0x012C);
    ASSERT_NE(file[size_t(cell)] | file[size_t(cell) + 1] << 8, 0x012C) << "the file held the edit already";
    session().Journal->writeNow();
    const std::vector<uint8_t> journal = tamo::fs::readWholeFile(session().Journal->path());
    QUndoStack *history = session().Document->history();
    const int steps = history->count();
    ASSERT_TRUE(FormMain->isWindowModified());
    EXPECT_TRUE(FormMain->findChild<QToolBar *>("ToolBar1")->actions().contains(FormMain->StageTestInEmulator));

    // No command set yet: the emulator is chosen first.
    const EmulatorScript script(scriptFolder());
    whenModalShown([&](QWidget *dialog) {
        typeInto(control<QLineEdit>(dialog, "EditCommand"),
                 QString::fromStdString("\"" + script.program.string() + "\" %f %l"));
        QTest::mouseClick(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    testInEmulator();
    ASSERT_TRUE(QTest::qWaitFor([&] { return script.ran(); }, scriptWaitMs));
    EXPECT_EQ(script.arguments(),
              (std::vector<std::string>{(copiesOfThisRun() / "1" / "demo.smc").string(), "22"}));
    const std::vector<uint8_t> copy = script.rom();
    ASSERT_EQ(copy.size(), file.size());
    EXPECT_EQ(copy[size_t(cell)], 0x2C);
    EXPECT_EQ(copy[size_t(cell) + 1], 0x01);
    EXPECT_EQ(copy, romBytes());

    EXPECT_EQ(tamo::fs::readWholeFile(dataFile("demo.smc")), file);
    EXPECT_EQ(history->count(), steps);
    EXPECT_FALSE(history->isClean());
    EXPECT_TRUE(FormMain->isWindowModified());
    EXPECT_EQ(tamo::fs::readWholeFile(session().Journal->path()), journal);
    EXPECT_EQ(session().ApplicationIni.readString("Emulator", "Command"), "\"" + script.program.string() + "\" %f %l");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

    // Closing removes the copies.
    questionAnswer = UnsavedEditsAnswer::Discard;
    restart();
    EXPECT_FALSE(stdfs::exists(copiesOfThisRun()));
}

TEST_F(TestInEmulatorTest, AMissingProgramAndABootPatchThatDoesNotApplyAreSaid)
{
    setCommand("no-such-emulator-here --fullscreen %f");
    testInEmulator();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.isEmpty(); }, scriptWaitMs));
    EXPECT_TRUE(messages.front().contains(QStringLiteral("\"no-such-emulator-here\" could not be started")))
        << messages.front().toStdString();
    EXPECT_TRUE(messages.front().contains(QStringLiteral("Command line: no-such-emulator-here --fullscreen %f")))
        << messages.front().toStdString();

    messages.clear();
    const EmulatorScript script(scriptFolder());
    setCommand(script.program.string() + " %f");
    writeText("not a patch.ips", "PATCH\x01\x02");
    session().ApplicationIni.writeString("Emulator", "BootPatch", dataFile("not a patch.ips").string());
    testInEmulator();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(QStringLiteral("not a patch.ips does not apply"))) << messages.front().toStdString();
    QTest::qWait(300);
    EXPECT_FALSE(script.ran());
}
