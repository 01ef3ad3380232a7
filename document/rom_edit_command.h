#pragma once

#include "document/rom_edit.h"

#include <QUndoCommand>

class RomDocument;

// One step of the history: redo makes the edit's writes, undo puts back the bytes they
// replaced. Edits with the same merge key fold into one step.
class RomEditCommand : public QUndoCommand
{
public:
    // The inverse is taken from the document's image as it is before the first redo.
    RomEditCommand(RomDocument &document, RomEdit edit);

    void redo() override;
    void undo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    RomDocument &m_document;
    RomEdit m_edit;
    tamo::RomPatch m_undo;
    bool m_made = false; // the first redo is the edit itself, later ones come from the history
};
