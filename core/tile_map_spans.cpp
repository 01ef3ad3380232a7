#include "core/tile_map_spans.h"

#include "core/rom_error.h"
#include "core/rom_image.h"
#include "core/stage.h"

#include <algorithm>
#include <map>

namespace tamo {
namespace {

constexpr int64_t TileWordSize = 2;

// The stage as a stage load decodes it; none when its header lies outside the image.
std::optional<Stage> decodedStage(const StageSource &source, int32_t level)
{
    try {
        return DecodeStage(source, level, Stage{});
    } catch (const RomRangeError &) {
        return std::nullopt;
    }
}

} // namespace

const TileMapSpan *TileMapSpans::find(int32_t tilemap) const
{
    const auto span = std::find_if(maps.begin(), maps.end(), [&](const TileMapSpan &s) { return s.tilemap == tilemap; });
    return span == maps.end() ? nullptr : &*span;
}

TileMapSpans FindTileMapSpans(const StageSource &source)
{
    std::map<int32_t, TileMapSpan> byOffset;
    std::vector<std::optional<int32_t>> offsetOfStage(static_cast<size_t>(LevelCount));
    for (int32_t level = 0; level < LevelCount; ++level) {
        const std::optional<Stage> stage = decodedStage(source, level);
        if (!stage || stage->ScreenMode != 0 || stage->MapWidth <= 0)
            continue;
        TileMapSpan &span = byOffset.try_emplace(stage->TilemapOffset, TileMapSpan{stage->FGTilemap, stage->TilemapOffset, 0, stage->MapHeight})
                                .first->second;
        span.tilemap = std::min(span.tilemap, stage->FGTilemap);
        span.columns = std::max(span.columns, stage->firstColumn() + stage->MapWidth);
        offsetOfStage[size_t(level)] = stage->TilemapOffset;
    }

    TileMapSpans spans;
    spans.tilemapOfStage.resize(size_t(LevelCount));
    for (const auto &[offset, span] : byOffset) {
        if (source.rom.contains(offset, TileWordSize * span.columns * span.rows))
            spans.maps.push_back(span);
    }
    std::sort(spans.maps.begin(), spans.maps.end(),
              [](const TileMapSpan &a, const TileMapSpan &b) { return a.tilemap < b.tilemap; });
    for (int32_t level = 0; level < LevelCount; ++level) {
        const std::optional<int32_t> offset = offsetOfStage[size_t(level)];
        const auto span = std::find_if(spans.maps.begin(), spans.maps.end(),
                                       [&](const TileMapSpan &s) { return offset == s.offset; });
        if (span != spans.maps.end())
            spans.tilemapOfStage[size_t(level)] = span->tilemap;
    }
    return spans;
}

int64_t TileMapWordOffset(const TileMapSpan &span, int32_t column, int32_t row)
{
    // The whole map as a stage that shows it from column 0.
    Stage whole;
    whole.TilemapOffset = span.offset;
    whole.MapHeight = span.rows;
    return TileCellOffset(whole, column, row);
}

} // namespace tamo
