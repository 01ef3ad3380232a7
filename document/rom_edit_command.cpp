#include "document/rom_edit_command.h"

#include "document/rom_document.h"

namespace {

// All merging steps share one id; their merge keys tell which of them belong together.
constexpr int MergingEditId = 1;

} // namespace

RomEditCommand::RomEditCommand(RomDocument &document, RomEdit edit)
    : QUndoCommand(edit.text)
    , m_document(document)
    , m_edit(std::move(edit))
    , m_undo(m_edit.patch.inverse(document.image()))
{
}

void RomEditCommand::redo()
{
    if (m_made)
        emit m_document.stageNeeded(m_edit.level);
    m_document.apply(m_edit, m_edit.patch, m_made);
    m_made = true;
}

void RomEditCommand::undo()
{
    emit m_document.stageNeeded(m_edit.level);
    m_document.apply(m_edit, m_undo, true);
}

int RomEditCommand::id() const
{
    return m_edit.mergeKey != 0 ? MergingEditId : -1;
}

bool RomEditCommand::mergeWith(const QUndoCommand *other)
{
    const auto *later = static_cast<const RomEditCommand *>(other);
    if (later->m_edit.mergeKey != m_edit.mergeKey)
        return false;
    m_edit.patch.append(later->m_edit.patch);
    // The later edit's bytes are put back first, so that a place written twice ends with
    // what it held before the first edit.
    m_undo = tamo::RomPatch(later->m_undo).append(m_undo);
    m_edit.text = later->m_edit.text;
    setText(m_edit.text);
    return true;
}
