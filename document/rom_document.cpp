#include "document/rom_document.h"

#include "document/rom_edit_command.h"
#include "forms/common/file_names.h"

RomDocument::RomDocument(QObject *parent)
    : QObject(parent)
{
}

void RomDocument::open(const QString &fileName)
{
    tamo::RomImage image = tamo::RomImage::open(tamo::filePath(fileName));
    m_history.clear();
    m_image = std::move(image);
    m_fileName = fileName;
    emit imageReplaced();
}

void RomDocument::save()
{
    m_image.save(tamo::filePath(m_fileName));
    m_history.setClean();
}

bool RomDocument::edit(RomEdit edit)
{
    if (!edit.patch.changes(m_image))
        return false;
    m_history.push(new RomEditCommand(*this, std::move(edit)));
    return true;
}

void RomDocument::apply(const RomEdit &edit, const tamo::RomPatch &patch, bool fromHistory)
{
    patch.applyTo(m_image);
    emit changed(RomChange{edit.scope, edit.level, patch, fromHistory});
}
