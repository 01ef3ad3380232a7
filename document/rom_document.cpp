#include "document/rom_document.h"

#include "core/file_system.h"
#include "core/rom_difference.h"
#include "core/rom_error.h"
#include "document/rom_edit_command.h"
#include "files/file_names.h"

#include <algorithm>

RomDocument::RomDocument(QObject *parent)
    : QObject(parent)
{
    // However the history gets back to the saved state, the way there is then empty.
    connect(&m_history, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (clean) {
            m_savedIndex = m_history.index();
            m_editsOffHistory = 0;
        }
    });
}

RomDocument::~RomDocument()
{
    // The history empties itself as it goes, which is no return to the saved state: a
    // journal of unsaved edits must outlive the document.
    m_history.blockSignals(true);
}

int RomDocument::unsavedSteps() const
{
    if (!isModified())
        return 0;
    return m_editsOffHistory + editsBetween(m_savedIndex, m_history.index());
}

int RomDocument::editsBetween(int first, int last) const
{
    int edits = 0;
    for (int index = std::min(first, last); index < std::max(first, last); ++index)
        edits += static_cast<const RomEditCommand *>(m_history.command(index))->edit().edits;
    return edits;
}

void RomDocument::open(const QString &fileName)
{
    const std::filesystem::path path = tamo::filePath(fileName);
    const std::optional<tamo::fs::FileStamp> stamp = tamo::fs::stampOf(path);
    tamo::RomImage image = tamo::RomImage::open(path);
    m_history.clear();
    m_image = std::move(image);
    m_fileName = fileName;
    markSaved(stamp, m_image.bytes());
    emit imageReplaced();
}

void RomDocument::save()
{
    const std::filesystem::path path = tamo::filePath(m_fileName);
    m_image.save(path);
    m_history.setClean();
    // The file may hold more than the image: bytes beyond it stay as they were.
    const std::optional<tamo::fs::FileStamp> stamp = tamo::fs::stampOf(path);
    markSaved(stamp, tamo::fs::readWholeFile(path));
}

bool RomDocument::replaceImage(std::span<const uint8_t> bytes, const QString &text, int32_t level)
{
    const size_t size = m_image.bytes().size();
    if (bytes.size() < size)
        throw tamo::RomError(text.toStdString() + ": " + std::to_string(bytes.size())
                             + " bytes are fewer than the image's " + std::to_string(size));
    const std::span<const uint8_t> replacement = bytes.first(size);
    const std::vector<tamo::ByteRun> runs = tamo::DifferingRuns(m_image.bytes(), replacement, tamo::PatchJoinGap);
    if (runs.empty())
        return false;
    RomEdit step{text, EditScope::WholeImage, level, {}};
    // The writes and the bytes they replace take twice the bytes that differ: from half the
    // image on, one copy of the other image is less, and it is traded rather than copied.
    if (2 * tamo::RunBytes(runs) >= int64_t(size)) {
        pushStep(std::move(step), {replacement.begin(), replacement.end()});
    } else {
        step.patch = tamo::PatchOfRuns(replacement, runs, text.toStdString());
        pushStep(std::move(step));
    }
    return true;
}

void RomDocument::reload(int32_t level)
{
    const std::filesystem::path path = tamo::filePath(m_fileName);
    const std::optional<tamo::fs::FileStamp> stamp = tamo::fs::stampOf(path);
    const std::vector<uint8_t> bytes = tamo::fs::readWholeFile(path);
    replaceImage(bytes, QStringLiteral("Reload from disk"), level);
    m_history.setClean();
    markSaved(stamp, bytes);
}

void RomDocument::markSaved(std::optional<tamo::fs::FileStamp> stamp, std::span<const uint8_t> fileBytes)
{
    m_savedBytes = m_image.bytes();
    m_savedHash = ContentHash(m_savedBytes);
    const bool fileIsImage = std::equal(fileBytes.begin(), fileBytes.end(), m_savedBytes.begin(), m_savedBytes.end());
    m_disk.remember(stamp, fileIsImage ? m_savedHash : ContentHash(fileBytes));
    m_savedIndex = m_history.index();
    m_editsOffHistory = 0;
}

bool RomDocument::edit(RomEdit edit)
{
    if (!edit.patch.changes(m_image))
        return false;
    pushStep(std::move(edit));
    return true;
}

void RomDocument::pushStep(RomEdit edit, std::vector<uint8_t> otherImage)
{
    // The history drops the steps above its index: a saved state among them is then
    // reached only through steps it no longer holds.
    const int index = m_history.index();
    if (index < m_savedIndex) {
        m_editsOffHistory += editsBetween(index, m_savedIndex);
        m_savedIndex = index;
    }
    m_history.push(new RomEditCommand(*this, std::move(edit), std::move(otherImage)));
}

tamo::RomPatch RomDocument::apply(const RomEdit &edit)
{
    tamo::RomPatch undo = edit.patch.applyTo(m_image);
    emit changed(RomChange{edit.scope, edit.level, edit.patch, false});
    return undo;
}

void RomDocument::replay(const RomEdit &edit, const tamo::RomPatch &patch)
{
    patch.writeTo(m_image);
    emit changed(RomChange{edit.scope, edit.level, patch, true});
}

void RomDocument::trade(const RomEdit &edit, std::vector<uint8_t> &otherImage, bool fromHistory)
{
    m_image.trade(otherImage, edit.text.toStdString());
    static const tamo::RomPatch NoWrites;
    emit changed(RomChange{edit.scope, edit.level, NoWrites, fromHistory});
}
