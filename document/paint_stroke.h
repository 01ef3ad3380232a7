#pragma once

#include "document/rom_edit.h"

#include <cstdint>
#include <set>

namespace tamo {
class RomImage;
}

// One paint stroke, from a left press to the release: the cells it has changed so far,
// and the edits its writes are made as, which fold into one step of the history.
class PaintStroke
{
public:
    void begin(uint64_t mergeKey);
    // The edit that makes patch (the tile words of one put) as part of the stroke, in stage
    // level. Its text counts the cells the stroke has changed, those of this put included.
    RomEdit edit(const tamo::RomPatch &patch, int32_t level, const tamo::RomImage &image);

private:
    uint64_t m_mergeKey = 0;
    std::set<int64_t> m_cells; // the offsets of the tile words changed
};
