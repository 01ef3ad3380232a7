#include "forms/rom_file_questions.h"

#include "files/file_names.h"
#include "forms/message_box.h"

#include "core/file_system.h"
#include "document/recovery_journal.h"
#include "document/rom_document.h"

#include <QStringList>

namespace {

QString unsavedEditsText(int count)
{
    return count == 1 ? QStringLiteral("1 unsaved edit") : QStringLiteral("%1 unsaved edits").arg(count);
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

void OfferRecovery(RecoveryJournal &journal, const RomDocument &document, int32_t level)
{
    const JournalLookup found = journal.lookUp();
    if (!found.keptAside.empty())
        ShowMessage(QStringLiteral("The %1 of an earlier session were made to other bytes than %2 holds now, so they "
                                   "were not applied. They are kept in %3.")
                        .arg(unsavedEditsText(found.keptAsideSteps), document.fileName(),
                             tamo::fileNameText(found.keptAside)));
    if (!found.work)
        return;
    if (AskYesNo(QStringLiteral("An earlier session ended with %1 of %2. Restore? (The file is not written until "
                                "you save.)")
                     .arg(unsavedEditsText(found.work->steps), document.fileName())))
        journal.restore(*found.work, level);
    else
        journal.discard();
}
