#include "document/paint_stroke.h"

#include "core/count_text.h"
#include "core/rom_image.h"

void PaintStroke::begin(uint64_t mergeKey)
{
    m_mergeKey = mergeKey;
    m_cells.clear();
}

RomEdit PaintStroke::edit(const tamo::RomPatch &patch, int32_t level, const tamo::RomImage &image)
{
    // A stamp writes a run of words a map column; each word is a cell.
    for (const tamo::RomWrite &write : patch.writes()) {
        for (size_t at = 0; at + 2 <= write.bytes.size(); at += 2) {
            const int64_t offset = write.offset + int64_t(at);
            if (image.contains(offset, 2)
                && (image.bytes()[size_t(offset)] != write.bytes[at]
                    || image.bytes()[size_t(offset) + 1] != write.bytes[at + 1]))
                m_cells.insert(offset);
        }
    }
    const size_t cells = m_cells.size();
    const QString text = QString::fromStdString("Paint " + tamo::CountText(int64_t(cells), "cell"));
    return RomEdit{text, EditScope::TileMap, level, patch, m_mergeKey};
}
