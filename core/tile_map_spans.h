#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tamo {

struct StageSource;

// A tile map of screen mode 0 as one whole: from column 0, where its pointer points, up to
// the last column that any stage of mode 0 shows of it. Tilemap numbers whose pointers
// name the same place are one map, named by the lowest of them.
struct TileMapSpan
{
    int32_t tilemap = 0;
    int32_t offset = 0;
    int32_t columns = 0;
    int32_t rows = 0;

    friend bool operator==(const TileMapSpan &, const TileMapSpan &) = default;
};

struct TileMapSpans
{
    std::vector<TileMapSpan> maps; // by tilemap number
    // By stage: the tilemap number of the map the stage shows, none when it shows none.
    std::vector<std::optional<int32_t>> tilemapOfStage;

    const TileMapSpan *find(int32_t tilemap) const;
};

// The maps that the stages 0..229 show as decoded from the image. A stage whose header
// lies outside the image shows none, and a map that does not lie wholly inside the image
// is left out with the stages that show it.
TileMapSpans FindTileMapSpans(const StageSource &source);

// Byte offset of the tile word at (column, row) of the whole map.
int64_t TileMapWordOffset(const TileMapSpan &span, int32_t column, int32_t row);

} // namespace tamo
