#pragma once

#include "document/rom_edit.h"

#include <QUndoCommand>

#include <cstdint>
#include <vector>

class RomDocument;

// One step of the history: redo makes the edit's writes, undo puts back the bytes they
// replaced; a step that holds the other image whole trades it with the image either way.
// Consecutive edits with the same merge key, made in the same stage and with the same
// scope, fold into one step.
class RomEditCommand : public QUndoCommand
{
public:
    // With otherImage, the step trades that image with the document's whole (its edit then
    // has no writes): a step that changes most of the image, as a restore point or a
    // reload does, is then undone and made again without a copy.
    RomEditCommand(RomDocument &document, RomEdit edit, std::vector<uint8_t> otherImage = {});

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
    // What each edit folded into the step replaced, in the order the edits were made.
    std::vector<tamo::RomPatch> m_undos;
    // Whether the first redo, which is the edit itself, has been made: later ones come from
    // the history.
    bool m_made = false;
    // The image on the other side of a step that trades it whole; empty for any other step.
    std::vector<uint8_t> m_otherImage;
};
