#include "forms/rom_file_questions.h"

#include "files/file_names.h"
#include "forms/message_box.h"

#include "core/count_text.h"
#include "core/file_system.h"
#include "document/recovery_journal.h"
#include "document/rom_document.h"

#include <QDateTime>
#include <QStringList>

#include <optional>

namespace {

QString unsavedEditsText(int count)
{
    return QString::fromStdString(tamo::CountText(count, "unsaved edit"));
}

} // namespace

bool DiskAllowsSave(RomDocument &document)
{
    const QString &file = document.fileName();
    const DiskFileState::Check disk = document.disk().check(tamo::filePath(file), true);
    // A file that is gone is not made again: the save itself says so.
    if (disk.missing)
        return true;
    if (disk.otherFile)
        return AskYesNo(QStringLiteral("%1 now names another file than the one opened (a file or a link put in "
                                       "its place). Write the image over that file?").arg(file),
                        false);
    if (disk.otherBytes)
        return AskYesNo(QStringLiteral("%1 was changed by another program since it was opened or saved. "
                                       "Write the image over it?").arg(file),
                        false);
    return true;
}

void OfferReload(RomDocument &document, int32_t level)
{
    if (document.fileName().isEmpty() || !document.disk().hasNewChange(tamo::filePath(document.fileName())))
        return;
    if (AskYesNo(QStringLiteral("%1 was changed by another program. Load it again? (Undo takes the reload back.)")
                     .arg(document.fileName())))
        document.reload(level);
}

void RemoveStaleSaveCopies(const RomDocument &document)
{
    QStringList left;
    for (const std::filesystem::path &copy : tamo::fs::removeStaleSaveCopies(tamo::filePath(document.fileName())))
        left << tamo::fileNameText(copy);
    if (!left.isEmpty())
        ShowMessage(QStringLiteral("A save cut short left these copies beside the file, and they cannot be removed:\n")
                    + left.join(QLatin1Char('\n')));
}

bool OtherEditorsAllowOpen(const RecoveryJournal &journal, const QString &fileName)
{
    const std::optional<int64_t> editor = journal.otherEditor(fileName);
    return !editor
        || AskYesNo(QStringLiteral("%1 is open in another editor (process %2). Open it here as well? Each editor keeps "
                                   "its own unsaved edits, and a save in one writes over the file the other shows.")
                        .arg(fileName)
                        .arg(*editor),
                    false);
}

namespace {

void tellKeptAside(const KeptJournal &kept, const QString &fileName)
{
    if (kept.damaged)
        ShowMessage(QStringLiteral("A journal of unsaved edits of %1 is damaged and was kept in %2. Nothing of it was "
                                   "applied.")
                        .arg(fileName, tamo::fileNameText(kept.file)));
    else
        ShowMessage(QStringLiteral("The %1 of an earlier session were made to other bytes than %2 holds now, so they "
                                   "were not applied. They are kept in %3.")
                        .arg(unsavedEditsText(kept.steps), fileName, tamo::fileNameText(kept.file)));
}

QString restoreQuestion(const JournalLookup &found, const FoundJournal &journal, const QString &fileName)
{
    if (found.found.size() == 1)
        return QStringLiteral("An earlier session ended with %1 of %2. Restore? (The file is not written until you "
                              "save.)")
            .arg(unsavedEditsText(journal.work.steps), fileName);
    const QDateTime written = QDateTime::fromMSecsSinceEpoch(journal.writtenNs / 1000000);
    return QStringLiteral("%1 earlier sessions ended with unsaved edits of %2. The journal written %3 holds %4. "
                          "Restore them? (The file is not written until you save. No throws them away and offers the "
                          "next journal; after a Yes the older ones stay until the file is opened again.)")
        .arg(found.found.size())
        .arg(fileName, written.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), unsavedEditsText(journal.work.steps));
}

} // namespace

void OfferRecovery(RecoveryJournal &journal, const RomDocument &document, int32_t level)
{
    const JournalLookup found = journal.lookUp();
    for (const KeptJournal &kept : found.keptAside)
        tellKeptAside(kept, document.fileName());
    for (const FoundJournal &earlier : found.found) {
        if (AskYesNo(restoreQuestion(found, earlier, document.fileName()))) {
            journal.restore(earlier, level);
            return;
        }
        journal.discard(earlier);
    }
}
