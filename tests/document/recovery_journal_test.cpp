#include "document/recovery_journal.h"
#include "tests/document/document_test_support.h"

#include <QUndoStack>

#include <filesystem>

namespace {

// A session on the ROM file with its journal in the folder's recovery folder, and the
// next session started on the same folder after the first one ended without a word.
class RecoveryJournalTest : public DocumentFileTest
{
protected:
    RecoveryJournalTest() { document.open(fileName()); }

    std::filesystem::path recoveryFolder() const { return folder.path / "recovery"; }
    std::vector<std::filesystem::path> filesInRecovery() const
    {
        std::vector<std::filesystem::path> files;
        if (std::filesystem::exists(recoveryFolder())) {
            for (const auto &entry : std::filesystem::directory_iterator(recoveryFolder()))
                files.push_back(entry.path());
        }
        return files;
    }

    // What the next session finds on opening the file.
    JournalLookup nextSessionLooksUp()
    {
        next.open(fileName());
        return nextJournal.lookUp();
    }

    RomDocument document;
    RecoveryJournal journal{document, recoveryFolder(), 1000};
    RomDocument next;
    RecoveryJournal nextJournal{next, recoveryFolder(), 1000};
};

} // namespace

TEST_F(RecoveryJournalTest, TheNextSessionGetsTheUnsavedEditsBackByteForByteAsOneStep)
{
    // Saved with two edits, which are then undone; a third comes after them.
    document.edit(byteEdit(1, 0xA1));
    document.edit(byteEdit(40, 0xA2));
    document.save();
    document.history()->undo();
    document.history()->undo();
    document.edit(byteEdit(63, 0xA3));
    journal.writeNow();
    const std::vector<uint8_t> saved = fileBytes();

    const JournalLookup found = nextSessionLooksUp();
    ASSERT_TRUE(found.work);
    EXPECT_TRUE(found.keptAside.empty());
    EXPECT_EQ(found.work->steps, 3) << "two undone below the saved state and one new";
    nextJournal.restore(*found.work, 7);
    std::vector<uint8_t> expected = counting(64);
    expected[63] = 0xA3;
    EXPECT_EQ(next.image().bytes(), expected);
    EXPECT_EQ(fileBytes(), saved) << "the file is written only by a save";
    EXPECT_EQ(next.history()->count(), 1);
    EXPECT_EQ(next.history()->undoText(), QStringLiteral("Recovered 3 edits"));
    EXPECT_TRUE(next.isModified());
    next.history()->undo();
    EXPECT_EQ(next.image().bytes(), saved);

    // Its journal still stands for three edits, not for the one step that brought them.
    next.history()->redo();
    nextJournal.writeNow();
    RomDocument third;
    RecoveryJournal thirdJournal{third, recoveryFolder(), 1000};
    third.open(fileName());
    EXPECT_EQ(thirdJournal.lookUp().work->steps, 3);
}

TEST_F(RecoveryJournalTest, TheJournalGoesWithASaveADiscardAndAReturnToTheSavedState)
{
    document.edit(byteEdit(1, 0xA1));
    journal.writeNow();
    ASSERT_EQ(filesInRecovery().size(), 1u);
    EXPECT_EQ(filesInRecovery().front(), journal.pathFor(fileName()));
    document.history()->undo();
    EXPECT_TRUE(filesInRecovery().empty()) << "back at the saved state";

    document.history()->redo();
    journal.writeNow();
    document.save();
    EXPECT_TRUE(filesInRecovery().empty());

    document.edit(byteEdit(2, 0xA2));
    journal.writeNow();
    journal.discard();
    EXPECT_TRUE(filesInRecovery().empty());
    EXPECT_FALSE(nextSessionLooksUp().work);
}

TEST_F(RecoveryJournalTest, AJournalMadeForOtherBytesIsNeverAppliedAndIsReportedOnce)
{
    document.edit(byteEdit(1, 0xA1));
    document.edit(byteEdit(2, 0xA2));
    journal.writeNow();
    // Another program wrote the file meanwhile.
    std::vector<uint8_t> changed = counting(64);
    changed[30] = 0xEE;
    writeFile(changed);

    const JournalLookup found = nextSessionLooksUp();
    EXPECT_FALSE(found.work);
    ASSERT_FALSE(found.keptAside.empty());
    EXPECT_EQ(found.keptAsideSteps, 2);
    EXPECT_EQ(filesInRecovery(), std::vector<std::filesystem::path>{found.keptAside}) << "kept, under another name";
    EXPECT_EQ(next.image().bytes(), changed);

    const JournalLookup again = nextJournal.lookUp();
    EXPECT_FALSE(again.work);
    EXPECT_TRUE(again.keptAside.empty()) << "said once";
}
