#include "tests/forms/main_window_test_support.h"

#include "core/file_system.h"

#include <QProcess>

#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <memory>

namespace {

// The editor killed with unsaved edits, and started again on the same program folder.
class RecoveryProcessTest : public MainWindowTest
{
protected:
    void SetUp() override { makeFolder(); }

    // A driver editing demo.smc from chip firstChip on, once it says its 20 edits are in
    // its journal; the edited image is written into the file edited.
    std::unique_ptr<QProcess> startEditing(const std::string &edited, int firstChip)
    {
        auto editor = std::make_unique<QProcess>();
        editor->start(QStringLiteral(TAMO_RECOVERY_DRIVER),
                      {QString::fromStdString(programDir().string()), demoRom(),
                       QString::fromStdString(dataFile(edited).string()), QString::number(firstChip)});
        QString said;
        while (!said.contains(QLatin1Char('\n')) && editor->waitForReadyRead(60000))
            said += QString::fromLocal8Bit(editor->readAllStandardOutput());
        EXPECT_EQ(said, QStringLiteral("journal written after 20 steps\n"));
        return editor;
    }
    static void kill(QProcess &editor)
    {
        editor.kill();
        EXPECT_TRUE(editor.waitForFinished(30000));
    }
    // The files of the recovery folder whose names end so.
    std::vector<std::filesystem::path> recoveryFiles(const std::string &ending) const
    {
        std::vector<std::filesystem::path> files;
        for (const auto &entry : std::filesystem::directory_iterator(dataFile("Config/recovery"))) {
            if (entry.path().filename().string().ends_with(ending))
                files.push_back(entry.path());
        }
        return files;
    }
    // Edits the image and writes the journal at once; the next start after a crash finds it.
    void editAndWriteTheJournal(int64_t at)
    {
        const uint8_t value = uint8_t(romBytes()[size_t(at)] + 1);
        session().Document->edit(RomEdit{QStringLiteral("t"), EditScope::WholeImage, 22,
                                         tamo::RomPatch().writeByte(at, value, "t")});
        session().Journal->writeNow();
    }
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
    EXPECT_TRUE(recoveryFiles(".journal").empty());

    editAndCrash();
    std::vector<uint8_t> theirs = original;
    theirs[500] ^= 0xFF;
    tamo::fs::writeWholeFile(dataFile("demo.smc"), theirs);
    startAgainAfterACrash(demoRom());
    EXPECT_EQ(yesNoQuestions.size(), 1) << "nothing to ask about";
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("other bytes"))) << messages.first().toStdString();
    EXPECT_EQ(romBytes(), theirs);
    EXPECT_EQ(recoveryFiles(".journal").size(), 0u);
    EXPECT_EQ(recoveryFiles(".kept").size(), 1u) << "the journal is kept aside";
    startAgainAfterACrash(demoRom());
    EXPECT_EQ(messages.size(), 1) << "told once";
}

// The second editor on a file asks first, keeps a journal of its own and leaves the first
// one's alone, whatever it does with its own edits.
TEST_F(RecoveryProcessTest, ASecondEditorOnTheFileAsksAndNeverTakesTheFirstOnesJournal)
{
    const std::vector<uint8_t> original = tamo::fs::readWholeFile(dataFile("demo.smc"));
    std::unique_ptr<QProcess> first = startEditing("first.bin", 200);
    const std::vector<std::filesystem::path> firstJournal = recoveryFiles(".journal");
    ASSERT_EQ(firstJournal.size(), 1u);
    const std::vector<uint8_t> firstJournalBytes = tamo::fs::readWholeFile(firstJournal[0]);

    yesNoAnswer = false;
    createWindows(demoRom());
    ASSERT_EQ(yesNoQuestions.size(), 1);
    EXPECT_EQ(yesNoQuestions[0],
              QStringLiteral("%1 is open in another editor (process %2). Open it here as well? Each editor keeps its "
                             "own unsaved edits, and a save in one writes over the file the other shows.")
                  .arg(demoRom())
                  .arg(first->processId()));
    EXPECT_FALSE(session().RomLoaded) << "No leaves the file to the other editor";

    // Opened all the same: its own edits go into its own journal, and its Discard takes
    // only that one.
    yesNoAnswer = true;
    yesNoQuestions.clear();
    openDemoRom();
    EXPECT_EQ(yesNoQuestions.size(), 1) << "asked again, and nothing offered to restore";
    EXPECT_TRUE(session().RomLoaded);
    EXPECT_TRUE(romBytes() == original);
    editAndWriteTheJournal(10);
    EXPECT_EQ(recoveryFiles(".journal").size(), 2u);
    questionAnswer = UnsavedEditsAnswer::Discard;
    restart();
    EXPECT_EQ(recoveryFiles(".journal"), firstJournal);
    EXPECT_EQ(tamo::fs::readWholeFile(firstJournal[0]), firstJournalBytes);

    // Once the first editor is gone, its 20 edits are offered.
    kill(*first);
    yesNoQuestions.clear();
    startAgainAfterACrash(demoRom());
    ASSERT_EQ(yesNoQuestions.size(), 1);
    EXPECT_TRUE(yesNoQuestions[0].startsWith(QStringLiteral("An earlier session ended with 20 unsaved edits")))
        << yesNoQuestions[0].toStdString();
    EXPECT_TRUE(romBytes() == tamo::fs::readWholeFile(dataFile("first.bin")));
}

// Two editors on one file killed: both journals are offered, the newest first, and each
// answer takes only its own.
TEST_F(RecoveryProcessTest, AfterACrashOfTwoEditorsEveryJournalLeftIsOfferedNewestFirst)
{
    std::unique_ptr<QProcess> first = startEditing("first.bin", 200);
    std::unique_ptr<QProcess> second = startEditing("second.bin", 300);
    kill(*first);
    kill(*second);
    const std::vector<uint8_t> firstBytes = tamo::fs::readWholeFile(dataFile("first.bin"));
    const std::vector<uint8_t> secondBytes = tamo::fs::readWholeFile(dataFile("second.bin"));
    ASSERT_NE(firstBytes, secondBytes);
    ASSERT_EQ(recoveryFiles(".journal").size(), 2u);

    // No to the newest throws it away and offers the other; Yes to that one restores it.
    QStringList asked;
    QList<bool> answers{false, true};
    SetYesNoHook([&](const QString &text) {
        asked << text;
        return !answers.isEmpty() && answers.takeFirst();
    });
    createWindows(demoRom());
    ASSERT_EQ(asked.size(), 2);
    for (const QString &question : asked)
        EXPECT_TRUE(question.startsWith(QStringLiteral("2 earlier sessions ended with unsaved edits of ")))
            << question.toStdString();
    EXPECT_TRUE(romBytes() == firstBytes);
    EXPECT_TRUE(FormMain->isWindowModified());
    ASSERT_EQ(recoveryFiles(".journal").size(), 1u) << "the restored edits in this editor's journal";

    // This editor crashes as well: the first editor's edits come back from its journal.
    asked.clear();
    answers = {true};
    startAgainAfterACrash(demoRom());
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith(QStringLiteral("An earlier session ended with 20 unsaved edits")));
    EXPECT_TRUE(romBytes() == firstBytes);
}

// A journal that does not read is set aside with a message that says so, whatever it is:
// cut short, changed, too large, or a link to a pipe or to an endless device, which the
// start-up neither waits on nor reads.
TEST_F(RecoveryProcessTest, AJournalThatDoesNotReadIsToldAsDamagedAndNeverWaitedOnOrReadWhole)
{
    createWindows(demoRom());
    const std::vector<uint8_t> original = romBytes();
    editAndWriteTheJournal(10);
    const std::filesystem::path journal = session().Journal->path();
    const std::vector<uint8_t> journalBytes = tamo::fs::readWholeFile(journal);
    const std::string written(journalBytes.begin(), journalBytes.end());
    ASSERT_NE(written.find("\"offset\":"), std::string::npos);
    const auto changed = [&](const std::string &at, const std::string &by) {
        std::string text = written;
        const size_t place = text.find(at);
        EXPECT_NE(place, std::string::npos) << at;
        return text.replace(place, at.size(), by);
    };
    // The character after the text with its lowest bit flipped.
    const auto flippedAfter = [&](const std::string &at) {
        std::string text = written;
        const size_t place = text.find(at) + at.size();
        EXPECT_LT(place, text.size()) << at;
        text[place] ^= 1;
        return text;
    };
    const std::filesystem::path pipe = dataFile("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    struct Damage
    {
        const char *what;
        std::function<void()> make;
    };
    const Damage damages[] = {
        {"cut short", [&] { std::ofstream(journal, std::ios::binary) << written.substr(0, written.size() / 2); }},
        {"an offset beyond the ROM",
         [&] { std::ofstream(journal, std::ios::binary) << changed("\"offset\":10", "\"offset\":9999999"); }},
        {"a bit of the bytes flipped",
         [&] { std::ofstream(journal, std::ios::binary) << flippedAfter("\"bytes\":\""); }},
        {"a link to a pipe", [&] { std::filesystem::create_symlink(pipe, journal); }},
        {"a link to /dev/zero", [&] { std::filesystem::create_symlink("/dev/zero", journal); }},
        // More than a journal of 4 MiB can hold: every 65th byte changed in 9 MB or so.
        {"a journal padded to 16 MiB", [&] {
             std::ofstream(journal, std::ios::binary) << written << std::string(16 << 20, ' ');
         }},
    };
    for (const Damage &damage : damages) {
        std::filesystem::remove(journal);
        damage.make();
        messages.clear();
        yesNoQuestions.clear();
        startAgainAfterACrash(demoRom());
        ASSERT_EQ(messages.size(), 1) << damage.what;
        EXPECT_TRUE(messages[0].startsWith(QStringLiteral("A journal of unsaved edits of %1 is damaged and was kept in %2.")
                                               .arg(demoRom(), QString::fromStdString(journal.string()))))
            << damage.what << ": " << messages[0].toStdString();
        EXPECT_TRUE(yesNoQuestions.isEmpty()) << damage.what;
        EXPECT_TRUE(romBytes() == original) << damage.what;
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(journal))) << damage.what << ": set aside";
    }
    EXPECT_EQ(recoveryFiles(".kept").size(), std::size(damages));
}
