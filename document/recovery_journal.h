#pragma once

#include "core/rom_patch.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <optional>

class RomDocument;

// The unsaved edits a session left: the writes that turn the file's bytes, as they were
// opened or last saved, into the edited image, and the number of steps they were made in.
struct UnsavedWork
{
    int steps = 0;
    tamo::RomPatch patch;
};

// What the journal of a file just opened holds.
struct JournalLookup
{
    std::optional<UnsavedWork> work;  // edits of exactly the bytes opened
    std::filesystem::path keptAside;  // where a journal made for other bytes was put; empty when none
    int keptAsideSteps = 0;
};

// Keeps the document's unsaved edits in a journal file of the recovery folder, so that a
// crash, a power cut or a killed program loses none of them. The journal is written
// atomically a few seconds after a change (however many changes come meanwhile) and
// removed when the image is saved, when its edits are thrown away and when the history
// returns to the saved state. It names the ROM file and the SHA-256 of the bytes the
// edits apply to, so that the edits are never applied to other bytes.
class RecoveryJournal : public QObject
{
    Q_OBJECT

public:
    RecoveryJournal(RomDocument &document, std::filesystem::path folder, int delayMs, QObject *parent = nullptr);

    // The journal file of a ROM file, one per ROM file.
    std::filesystem::path pathFor(const QString &romFileName) const;

    // Writes the journal at once while the image has unsaved edits; removes it otherwise.
    void writeNow();
    // The unsaved edits were thrown away, and the journal with them.
    void discard();

    // The journal an earlier session left for the document's file, just opened. One made
    // for other bytes (or that cannot be read) is renamed aside, and so reported once.
    JournalLookup lookUp();
    // Makes the earlier session's edits one step of the history; the journal then goes on
    // with them.
    void restore(const UnsavedWork &work, int32_t level);

signals:
    // A journal could not be written; said once, until a journal is written again.
    void writeFailed(const QString &text);

private:
    void changed();
    void removeFile();

    RomDocument &m_document;
    std::filesystem::path m_folder;
    QTimer m_timer;
    bool m_failureTold = false;
};
