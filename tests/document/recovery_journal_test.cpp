#include "document/recovery_journal.h"
#include "tests/document/document_test_support.h"

#include <QUndoStack>

#include <memory>

namespace {

// A session on the ROM file with its journal, and the next session on the same folder
// after the first one ended without a word (ends() makes a session end so).
class RecoveryJournalTest : public DocumentFileTest
{
protected:
    RecoveryJournalTest() { document.open(fileName()); }

    static std::unique_ptr<RecoveryJournal> journalOf(RomDocument &document, const std::filesystem::path &folder)
    {
        return std::make_unique<RecoveryJournal>(document, folder / "recovery", 1000);
    }
    bool journalExists() const { return std::filesystem::exists(journal->path()); }

    RomDocument document;
    std::unique_ptr<RecoveryJournal> journal = journalOf(document, folder.path);
    RomDocument next;
    std::unique_ptr<RecoveryJournal> nextJournal = journalOf(next, folder.path);
};

} // namespace

TEST_F(RecoveryJournalTest, TheNextSessionGetsTheUnsavedEditsBackByteForByteAsOneStep)
{
    // Saved with two edits, which are then undone; a third comes after them.
    document.edit(byteEdit(1, 0xA1));
    document.edit(byteEdit(40, 0xA2));
    document.save();
    const std::vector<uint8_t> saved = fileBytes();
    document.history()->undo();
    document.history()->undo();
    document.edit(byteEdit(63, 0xA3));
    journal->writeNow();
    journal.reset();

    next.open(fileName());
    const JournalLookup found = nextJournal->lookUp();
    ASSERT_EQ(found.found.size(), 1u);
    EXPECT_EQ(found.found[0].work.steps, 3) << "two undone below the saved state and one new";
    nextJournal->restore(found.found[0], 7);
    std::vector<uint8_t> expected = counting();
    expected[63] = 0xA3;
    EXPECT_EQ(next.image().bytes(), expected);
    EXPECT_EQ(fileBytes(), saved) << "the file is written only by a save";
    EXPECT_EQ(next.history()->undoText(), QStringLiteral("Recovered 3 edits"));
    next.history()->undo();
    EXPECT_EQ(next.image().bytes(), saved);

    // Its journal stands for the three edits, not for the one step that brought them.
    next.history()->redo();
    nextJournal->writeNow();
    nextJournal.reset();
    RomDocument third;
    RecoveryJournal thirdJournal{third, folder.path / "recovery", 1000};
    third.open(fileName());
    const JournalLookup again = thirdJournal.lookUp();
    ASSERT_EQ(again.found.size(), 1u);
    EXPECT_EQ(again.found[0].work.steps, 3);
}

TEST_F(RecoveryJournalTest, TheRecoveredEditsCountOnlyWhileTheirStepIsUnsaved)
{
    // The steps a session opening the file now would find in its journal.
    const auto stepsFound = [&] {
        RomDocument later;
        RecoveryJournal laterJournal{later, folder.path / "recovery", 1000};
        later.open(fileName());
        const JournalLookup found = laterJournal.lookUp();
        return found.found.size() == 1 ? found.found[0].work.steps : -1;
    };
    document.edit(byteEdit(1, 0xA1));
    document.edit(byteEdit(2, 0xA2));
    document.edit(byteEdit(3, 0xA3));
    journal->writeNow();
    journal.reset();

    // The recovered step taken back and dropped for new edits stands for nothing more.
    next.open(fileName());
    nextJournal->restore(nextJournal->lookUp().found.at(0), 7);
    next.history()->undo();
    next.edit(byteEdit(10, 0xB0));
    next.history()->undo();
    next.edit(byteEdit(11, 0xB1));
    next.edit(byteEdit(12, 0xB2));
    nextJournal->writeNow();
    nextJournal.reset();
    EXPECT_EQ(stepsFound(), 2);

    // Those two recovered and saved: only the edit after the save is unsaved.
    RomDocument third;
    auto thirdJournal = journalOf(third, folder.path);
    third.open(fileName());
    thirdJournal->restore(thirdJournal->lookUp().found.at(0), 7);
    third.save();
    third.edit(byteEdit(13, 0xB3));
    thirdJournal->writeNow();
    thirdJournal.reset();
    EXPECT_EQ(stepsFound(), 1);
}

TEST_F(RecoveryJournalTest, TheJournalGoesWithASaveADiscardAndAReturnToTheSavedState)
{
    document.edit(byteEdit(1, 0xA1));
    journal->writeNow();
    ASSERT_TRUE(journalExists());
    document.history()->undo();
    EXPECT_FALSE(journalExists()) << "back at the saved state";

    document.history()->redo();
    journal->writeNow();
    document.save();
    EXPECT_FALSE(journalExists());

    document.edit(byteEdit(2, 0xA2));
    journal->writeNow();
    journal->discard();
    EXPECT_FALSE(journalExists());
}

// The largest journals the program writes read back: one write for each 65 bytes, the
// most a difference patch has, and every byte changed.
TEST_F(RecoveryJournalTest, TheLargestJournalsOfAnImageReadBack)
{
    const std::vector<uint8_t> bytes = tamo::test::CountingRom(65 * 100).bytes();
    writeFile(bytes);
    journal.reset();
    for (const int64_t step : {65, 1}) {
        RomDocument editing;
        auto editingJournal = journalOf(editing, folder.path);
        editing.open(fileName());
        std::vector<uint8_t> expected = bytes;
        tamo::RomPatch patch;
        for (int64_t at = 0; at < int64_t(bytes.size()); at += step) {
            expected[size_t(at)] = uint8_t(~bytes[size_t(at)]);
            patch.writeByte(at, expected[size_t(at)], "t");
        }
        editing.edit(RomEdit{QStringLiteral("t"), EditScope::WholeImage, 0, patch});
        editingJournal->writeNow();
        editingJournal.reset();

        next.open(fileName());
        const JournalLookup found = nextJournal->lookUp();
        ASSERT_EQ(found.found.size(), 1u) << step;
        EXPECT_TRUE(found.keptAside.empty()) << step;
        nextJournal->restore(found.found[0], 0);
        EXPECT_EQ(next.image().bytes(), expected) << step;
        nextJournal->discard();
    }
}
