#pragma once

#include "core/rom_image.h"
#include "document/rom_edit.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <cstdint>

// The ROM image being edited, the file it came from and its edit history. It is the only
// writer of the image: every edit becomes a step of the history, and after every change
// (an edit, an undo, a redo, an open) it says what changed, so that each view refreshes
// itself.
class RomDocument : public QObject
{
    Q_OBJECT

public:
    explicit RomDocument(QObject *parent = nullptr);

    const tamo::RomImage &image() const { return m_image; }
    const QString &fileName() const { return m_fileName; }
    QUndoStack *history() { return &m_history; }
    // Whether the image differs from what was last opened or saved.
    bool isModified() const { return !m_history.isClean(); }

    // Reads the file whole and starts a new history. On failure it throws and the image,
    // its file name and its history stay as they were.
    void open(const QString &fileName);
    // Writes the image over its file; the saved state is then the current one. On failure
    // it throws and the state stays modified.
    void save();

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
    // The one place where the image changes after it was opened.
    void apply(const RomEdit &edit, const tamo::RomPatch &patch, bool fromHistory);

    tamo::RomImage m_image;
    QString m_fileName;
    QUndoStack m_history;
    uint64_t m_lastMergeKey = 0;
};
