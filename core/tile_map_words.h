#pragma once

#include "core/rom_difference.h"
#include "core/stage.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tamo {

// The tile words that stages in screen mode 0 show, as runs of bytes of the image. A stage
// shows its map columns firstColumn() to firstColumn() + MapWidth - 1, MapHeight words a
// column, column after column: one run from TileCellOffset(stage, 0, 0) on.

// The bytes of the tile words the stage shows (none outside screen mode 0), wherever they lie.
ByteRun StageWords(const Stage &stage);

// The stages of levels that decode in screen mode 0 with a map to show, in the order of
// levels; a stage whose tables lie outside the image shows nothing and is left out.
std::vector<Stage> ModeZeroStages(const StageSource &source, std::span<const int32_t> levels);
// The same of the stages 0 to 229.
std::vector<Stage> ModeZeroStages(const StageSource &source);

// One tile map and the stages that show parts of it: those whose map starts at its offset.
struct ShownTileMap
{
    int32_t offset = 0;
    std::vector<Stage> stages; // in the order they were given
    // The words that at least one of the stages shows and that lie wholly inside the
    // image, in order, each once; every run a whole number of words.
    std::vector<ByteRun> words;
};

// The tile maps the stages show, by offset.
std::vector<ShownTileMap> ShownTileMaps(const RomImage &rom, const std::vector<Stage> &stages);

// The words of all the maps, each byte once, in order. Maps may overlap; where two start
// an odd number of bytes apart, a word that would straddle one already taken is left out,
// so that no two words share a byte.
std::vector<ByteRun> DistinctWords(const std::vector<ShownTileMap> &maps);

// The stage's tile map: the columns that the stage and every stage sharing its tile map
// (StagesSharingTileMap, as the status bar names them) show, each word once. None unless
// the stage is in screen mode 0. Throws RomRangeError when the stage itself does not
// decode.
std::vector<ByteRun> StageTileMapWords(const StageSource &source, int32_t level);
// Every tile map of the image: the columns that any stage in screen mode 0 shows, each
// word once.
std::vector<ByteRun> AllTileMapWords(const StageSource &source);

} // namespace tamo
