#pragma once

#include "document/rom_edit.h"

#include <QUndoCommand>

#include <vector>

class RomDocument;

// One step of the history: redo makes the edit's writes, undo puts back the bytes they
// replaced. Consecutive edits with the same merge key, made in the same stage and with the
// same scope, fold into one step.
class RomEditCommand : public QUndoCommand
{
public:
    RomEditCommand(RomDocument &document, RomEdit edit);

    const RomEdit &edit() const { return m_edit; }

    void redo() override;
    void undo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    // The writes that put back the bytes as they were before the step, folded into one
    // patch the first time they are asked for.
    const tamo::RomPatch &undoPatch();

    RomDocument &m_document;
    RomEdit m_edit;
    // What each edit folded into the step replaced, in the order the edits were made; empty
    // until the first redo, which is the edit itself (later ones come from the history).
    std::vector<tamo::RomPatch> m_undos;
};
