#pragma once

#include "core/rom_image.h"
#include "document/disk_file_state.h"
#include "document/rom_edit.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <cstdint>
#include <span>
#include <vector>

// The ROM image being edited, the file it came from and its edit history. It is the only
// writer of the image: every edit becomes a step of the history, and after every change
// (an edit, an undo, a redo, an open) it says what changed, so that each view refreshes
// itself.
class RomDocument : public QObject
{
    Q_OBJECT

public:
    explicit RomDocument(QObject *parent = nullptr);
    ~RomDocument() override;

    const tamo::RomImage &image() const { return m_image; }
    const QString &fileName() const { return m_fileName; }
    QUndoStack *history() { return &m_history; }
    // Whether the image differs from what was last opened or saved.
    bool isModified() const { return !m_history.isClean(); }

    // The image as last opened or saved, which the unsaved edits change, and its SHA-256.
    const std::vector<uint8_t> &savedBytes() const { return m_savedBytes; }
    const QByteArray &savedHash() const { return m_savedHash; }
    // The number of edits between the image as last opened or saved and the current one,
    // along the history (each step counts as the edits it stands for, RomEdit::edits):
    // steps undone below the saved state count, also once a new edit has taken them out of
    // the history.
    int unsavedSteps() const;
    // The file as the image was last read from it or written to it.
    DiskFileState &disk() { return m_disk; }

    // Reads the file whole and starts a new history. On failure it throws and the image,
    // its file name and its history stay as they were.
    void open(const QString &fileName);
    // Writes the image over its file; the saved state is then the current one. On failure
    // it throws and the state stays modified.
    void save();
    // Makes the image hold bytes as one step of the history (a restore point, the file as
    // another program wrote it). Bytes beyond the image's size are left out, as the
    // image keeps its size; fewer bytes than that throw RomError. Returns whether a byte
    // changed.
    bool replaceImage(std::span<const uint8_t> bytes, const QString &text, int32_t level);
    // Reads the file again into the image as one step, after which the image is saved.
    void reload(int32_t level);

    // Makes the edit as a step of the history, or as part of the step before it (see
    // RomEdit::mergeKey). An edit that would change no byte makes no step. A write outside
    // the image throws RomRangeError and changes nothing. Returns whether a byte changed.
    bool edit(RomEdit edit);
    // A key for edits that are to make one step together.
    uint64_t newMergeKey() { return ++m_lastMergeKey; }

signals:
    void imageReplaced();
    void changed(const RomChange &change);
    // A step made in the given stage is about to be undone or redone: that stage is to be
    // shown first, so that the user sees what changes.
    void stageNeeded(int32_t level);

private:
    friend class RomEditCommand;
    // Makes an edit known to change a byte a step of the history (or part of one).
    void pushStep(RomEdit edit, std::vector<uint8_t> otherImage = {});
    // The two places where the image changes after it was opened: the edit as it is made,
    // which returns the patch that puts back what it replaced, and a step of the history
    // made again or undone, whose bytes to put back the history holds already.
    tamo::RomPatch apply(const RomEdit &edit);
    void replay(const RomEdit &edit, const tamo::RomPatch &patch);
    // A step that holds the other image whole trades it with the image.
    void trade(const RomEdit &edit, std::vector<uint8_t> &otherImage, bool fromHistory);
    // The edits the steps from index first to index last stand for, in either order.
    int editsBetween(int first, int last) const;
    // The image is now what the file holds: fileBytes, read after the file had stamp.
    void markSaved(std::optional<tamo::fs::FileStamp> stamp, std::span<const uint8_t> fileBytes);

    tamo::RomImage m_image;
    QString m_fileName;
    QUndoStack m_history;
    uint64_t m_lastMergeKey = 0;
    std::vector<uint8_t> m_savedBytes;
    QByteArray m_savedHash;
    DiskFileState m_disk;
    // Where the way back to the saved state leaves the history: at this index, after
    // the steps of this many edits that the history no longer holds.
    int m_savedIndex = 0;
    int m_editsOffHistory = 0;
};
