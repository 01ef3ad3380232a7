#pragma once

#include "core/chip_replacement.h"

#include <cstdint>

class StageSession;

// The tile maps a replacement of a chip changes.
enum class ChipReplaceArea {
    StageTileMap, // the stage shown's, with every stage that shares it
    EveryTileMap, // every one that a stage in screen mode 0 shows
};

// Replaces the chip in the area as one step of the history, made in the stage shown
// ("Replace chip 0A5 by 0B0 in 214 cells", naming the stages that share the tile map of
// the stage shown when only that one changes). Returns how many cells changed; none makes
// no step. The stage shown must have been loaded for StageTileMap.
int64_t ReplaceChip(StageSession &session, const tamo::ChipReplacement &replacement, ChipReplaceArea area);
