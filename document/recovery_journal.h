#pragma once

#include "core/rom_patch.h"
#include "document/journal_lock.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class RomDocument;

// The unsaved edits a session left: the writes that turn the file's bytes, as they were
// opened or last saved, into the edited image, and the number of steps they were made in.
struct UnsavedWork
{
    int steps = 0;
    tamo::RomPatch patch;
};

// A journal an earlier session left with edits of exactly the bytes opened.
struct FoundJournal
{
    std::filesystem::path file;
    int64_t writtenNs = 0;
    UnsavedWork work;
};

// A journal that is never applied: renamed aside, and so reported once.
struct KeptJournal
{
    std::filesystem::path file;  // where it was put; its own name where it could not be renamed
    bool damaged = false;        // it does not read as a journal; otherwise it was made for other bytes
    int steps = 0;               // the edits of a journal made for other bytes
};

// What the journals of a file just opened hold.
struct JournalLookup
{
    std::vector<FoundJournal> found;  // newest first
    std::vector<KeptJournal> keptAside;
};

// Keeps the document's unsaved edits in a journal file of the recovery folder, so that a
// crash, a power cut or a killed program loses none of them. The journal is written
// atomically a few seconds after a change (however many changes come meanwhile) and
// removed when the image is saved, when its edits are thrown away and when the history
// returns to the saved state. It names the ROM file and the SHA-256 of the bytes the
// edits apply to, so that the edits are never applied to other bytes.
//
// Each editor that has a file open holds the lock of a journal of its own for that file,
// the first of "<file key>.journal", "<file key>.2.journal", "<file key>.3.journal", ...
// whose lock is free and that no ended session left. No editor reads, offers or removes a
// journal whose lock a running editor holds.
class RecoveryJournal : public QObject
{
    Q_OBJECT

public:
    RecoveryJournal(RomDocument &document, std::filesystem::path folder, int delayMs, QObject *parent = nullptr);
    ~RecoveryJournal() override;

    // This session's journal of the document's file; empty while no file is open.
    std::filesystem::path path() const { return m_path; }
    // The process id of another running editor that has the file open; none when none has.
    std::optional<int64_t> otherEditor(const QString &romFileName) const;

    // Writes the journal at once while the image has unsaved edits; removes it otherwise.
    void writeNow();
    // The unsaved edits were thrown away, and the journal with them.
    void discard();

    // The journals earlier sessions left for the document's file, just opened, that no
    // running editor holds. Those made for other bytes and those that do not read are
    // renamed aside.
    JournalLookup lookUp();
    // Makes a journal's edits one step of the history; this session's journal then goes
    // on with them, and the one they came from goes.
    void restore(const FoundJournal &journal, int32_t level);
    // Throws an earlier session's journal away.
    void discard(const FoundJournal &journal);

signals:
    // A journal could not be written; said once, until a journal is written again.
    void writeFailed(const QString &text);

private:
    void changed();
    // Takes the journal of the file just opened.
    void fileOpened();
    bool write();
    std::vector<std::filesystem::path> journalsOf(const QString &romFileName) const;
    // The most a journal of the document's image can hold.
    uint64_t largestJournal() const;

    RomDocument &m_document;
    std::filesystem::path m_folder;
    QTimer m_timer;
    bool m_failureTold = false;
    QString m_keyName;
    std::filesystem::path m_path;
    std::unique_ptr<JournalLock> m_lock;
};
