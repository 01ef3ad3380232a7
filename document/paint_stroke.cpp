#include "document/paint_stroke.h"

#include "core/rom_image.h"

void PaintStroke::begin(uint64_t mergeKey)
{
    m_mergeKey = mergeKey;
    m_cells.clear();
}

RomEdit PaintStroke::edit(const tamo::RomPatch &patch, int32_t level, const tamo::RomImage &image)
{
    if (patch.changes(image)) {
        for (const tamo::RomWrite &write : patch.writes())
            m_cells.insert(write.offset);
    }
    const size_t cells = m_cells.size();
    const QString text = cells == 1 ? QStringLiteral("Paint 1 cell")
                                    : QStringLiteral("Paint %1 cells").arg(cells);
    return RomEdit{text, EditScope::TileMap, level, patch, m_mergeKey};
}
