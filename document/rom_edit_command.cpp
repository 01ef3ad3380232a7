#include "document/rom_edit_command.h"

#include "document/rom_document.h"

namespace {

// All merging steps share one id; their merge keys tell which of them belong together.
constexpr int MergingEditId = 1;

} // namespace

RomEditCommand::RomEditCommand(RomDocument &document, RomEdit edit, std::vector<uint8_t> otherImage)
    : QUndoCommand(edit.text)
    , m_document(document)
    , m_edit(std::move(edit))
    , m_otherImage(std::move(otherImage))
{
}

void RomEditCommand::redo()
{
    // The edit itself is made in the stage shown; a step made again shows its stage first.
    if (m_made)
        emit m_document.stageNeeded(m_edit.level);
    if (!m_otherImage.empty())
        m_document.trade(m_edit, m_otherImage, m_made);
    else if (m_made)
        m_document.replay(m_edit, m_edit.patch);
    else
        m_undos.push_back(m_document.apply(m_edit));
    m_made = true;
}

void RomEditCommand::undo()
{
    emit m_document.stageNeeded(m_edit.level);
    if (!m_otherImage.empty())
        m_document.trade(m_edit, m_otherImage, true);
    else
        m_document.replay(m_edit, undoPatch());
}

const tamo::RomPatch &RomEditCommand::undoPatch()
{
    if (m_undos.size() > 1) {
        // The latest edit's bytes are put back first, so that a place written twice ends
        // with what it held before the first edit.
        tamo::RomPatch undo;
        for (auto patch = m_undos.rbegin(); patch != m_undos.rend(); ++patch)
            undo.append(*patch);
        m_undos = {std::move(undo)};
    }
    return m_undos.front();
}

int RomEditCommand::id() const
{
    return m_edit.mergeKey != 0 ? MergingEditId : -1;
}

bool RomEditCommand::mergeWith(const QUndoCommand *other)
{
    const auto *later = static_cast<const RomEditCommand *>(other);
    // A key can outlive a change of stage or list (the same object number nudged in the
    // next stage): one step is undone in one stage, so such edits stay steps of their own.
    if (later->m_edit.mergeKey != m_edit.mergeKey || later->m_edit.level != m_edit.level
        || later->m_edit.scope != m_edit.scope)
        return false;
    m_edit.patch.append(later->m_edit.patch);
    m_undos.insert(m_undos.end(), later->m_undos.begin(), later->m_undos.end());
    m_edit.text = later->m_edit.text;
    setText(m_edit.text);
    return true;
}
