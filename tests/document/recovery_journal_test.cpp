#include "document/recovery_journal.h"
#include "tests/document/document_test_support.h"

#include <QUndoStack>

namespace {

// A session on the ROM file with its journal, and the next session on the same folder
// after the first one ended without a word.
class RecoveryJournalTest : public DocumentFileTest
{
protected:
    RecoveryJournalTest() { document.open(fileName()); }

    bool journalExists() const { return std::filesystem::exists(journal.pathFor(fileName())); }

    RomDocument document;
    RecoveryJournal journal{document, folder.path / "recovery", 1000};
    RomDocument next;
    RecoveryJournal nextJournal{next, folder.path / "recovery", 1000};
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
    journal.writeNow();

    next.open(fileName());
    const JournalLookup found = nextJournal.lookUp();
    ASSERT_TRUE(found.work);
    EXPECT_EQ(found.work->steps, 3) << "two undone below the saved state and one new";
    nextJournal.restore(*found.work, 7);
    std::vector<uint8_t> expected = counting();
    expected[63] = 0xA3;
    EXPECT_EQ(next.image().bytes(), expected);
    EXPECT_EQ(fileBytes(), saved) << "the file is written only by a save";
    EXPECT_EQ(next.history()->undoText(), QStringLiteral("Recovered 3 edits"));
    next.history()->undo();
    EXPECT_EQ(next.image().bytes(), saved);

    // Its journal stands for the three edits, not for the one step that brought them.
    next.history()->redo();
    nextJournal.writeNow();
    RomDocument third;
    RecoveryJournal thirdJournal{third, folder.path / "recovery", 1000};
    third.open(fileName());
    const JournalLookup again = thirdJournal.lookUp();
    ASSERT_TRUE(again.work);
    EXPECT_EQ(again.work->steps, 3);
}

TEST_F(RecoveryJournalTest, TheRecoveredEditsCountOnlyWhileTheirStepIsUnsaved)
{
    // The steps a session opening the file now would find in its journal.
    const auto stepsFound = [&] {
        RomDocument later;
        RecoveryJournal laterJournal{later, folder.path / "recovery", 1000};
        later.open(fileName());
        const JournalLookup found = laterJournal.lookUp();
        return found.work ? found.work->steps : -1;
    };
    document.edit(byteEdit(1, 0xA1));
    document.edit(byteEdit(2, 0xA2));
    document.edit(byteEdit(3, 0xA3));
    journal.writeNow();

    // The recovered step taken back and dropped for new edits stands for nothing more.
    next.open(fileName());
    nextJournal.restore(nextJournal.lookUp().work.value(), 7);
    next.history()->undo();
    next.edit(byteEdit(10, 0xB0));
    next.history()->undo();
    next.edit(byteEdit(11, 0xB1));
    next.edit(byteEdit(12, 0xB2));
    nextJournal.writeNow();
    EXPECT_EQ(stepsFound(), 2);

    // Those two recovered and saved: only the edit after the save is unsaved.
    RomDocument third;
    RecoveryJournal thirdJournal{third, folder.path / "recovery", 1000};
    third.open(fileName());
    thirdJournal.restore(thirdJournal.lookUp().work.value(), 7);
    third.save();
    third.edit(byteEdit(13, 0xB3));
    thirdJournal.writeNow();
    EXPECT_EQ(stepsFound(), 1);
}

TEST_F(RecoveryJournalTest, TheJournalGoesWithASaveADiscardAndAReturnToTheSavedState)
{
    document.edit(byteEdit(1, 0xA1));
    journal.writeNow();
    ASSERT_TRUE(journalExists());
    document.history()->undo();
    EXPECT_FALSE(journalExists()) << "back at the saved state";

    document.history()->redo();
    journal.writeNow();
    document.save();
    EXPECT_FALSE(journalExists());

    document.edit(byteEdit(2, 0xA2));
    journal.writeNow();
    journal.discard();
    EXPECT_FALSE(journalExists());
}
