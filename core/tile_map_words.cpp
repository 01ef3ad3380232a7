#include "core/tile_map_words.h"

#include "core/map_object.h"
#include "core/rom_error.h"
#include "core/rom_image.h"

#include <algorithm>
#include <map>

namespace tamo {

namespace {

constexpr int64_t WordSize = 2;

// The whole words of run that lie inside an image of size bytes, counted from run.begin.
ByteRun insideImage(ByteRun run, int64_t size)
{
    if (run.begin < 0)
        run.begin += (-run.begin + 1) / WordSize * WordSize;
    run.end = std::min(run.end, size);
    if (run.end <= run.begin)
        return {};
    run.end -= (run.end - run.begin) % WordSize;
    return run;
}

// The runs sorted, each byte once; a run's part that begins inside a word already taken
// starts at its next word.
std::vector<ByteRun> mergedWords(std::vector<ByteRun> runs)
{
    std::sort(runs.begin(), runs.end(), [](const ByteRun &a, const ByteRun &b) { return a.begin < b.begin; });
    std::vector<ByteRun> merged;
    for (const ByteRun &run : runs) {
        int64_t begin = run.begin;
        if (!merged.empty() && begin < merged.back().end)
            begin += (merged.back().end - begin + 1) / WordSize * WordSize;
        if (begin >= run.end)
            continue;
        if (!merged.empty() && begin == merged.back().end)
            merged.back().end = run.end;
        else
            merged.push_back({begin, run.end});
    }
    return merged;
}

bool showsWords(const Stage &stage)
{
    const ByteRun words = StageWords(stage);
    return words.end > words.begin;
}

} // namespace

ByteRun StageWords(const Stage &stage)
{
    if (stage.ScreenMode != 0 || stage.MapWidth <= 0 || stage.MapHeight <= 0)
        return {};
    const int64_t begin = TileCellOffset(stage, 0, 0);
    return {begin, begin + WordSize * stage.MapWidth * stage.MapHeight};
}

std::vector<Stage> ModeZeroStages(const StageSource &source, std::span<const int32_t> levels)
{
    std::vector<Stage> stages;
    for (const int32_t level : levels) {
        try {
            const Stage stage = DecodeStage(source, level, Stage{});
            if (showsWords(stage))
                stages.push_back(stage);
        } catch (const RomRangeError &) {
            // Its tables lie outside the image: it shows no map.
        }
    }
    return stages;
}

std::vector<Stage> ModeZeroStages(const StageSource &source)
{
    std::vector<int32_t> levels(LevelCount);
    for (int32_t level = 0; level < LevelCount; ++level)
        levels[size_t(level)] = level;
    return ModeZeroStages(source, levels);
}

std::vector<ShownTileMap> ShownTileMaps(const RomImage &rom, const std::vector<Stage> &stages)
{
    std::map<int32_t, ShownTileMap> maps;
    for (const Stage &stage : stages) {
        ShownTileMap &map = maps[stage.TilemapOffset];
        map.offset = stage.TilemapOffset;
        map.stages.push_back(stage);
    }
    std::vector<ShownTileMap> shown;
    for (auto &[offset, map] : maps) {
        std::vector<ByteRun> runs;
        for (const Stage &stage : map.stages)
            runs.push_back(insideImage(StageWords(stage), rom.size()));
        map.words = mergedWords(std::move(runs));
        shown.push_back(std::move(map));
    }
    return shown;
}

std::vector<ByteRun> DistinctWords(const std::vector<ShownTileMap> &maps)
{
    std::vector<ByteRun> runs;
    for (const ShownTileMap &map : maps)
        runs.insert(runs.end(), map.words.begin(), map.words.end());
    return mergedWords(std::move(runs));
}

std::vector<ByteRun> StageTileMapWords(const StageSource &source, int32_t level)
{
    if (!showsWords(DecodeStage(source, level, Stage{})))
        return {};
    std::vector<int32_t> levels = StagesSharingTileMap(source, level);
    levels.push_back(level);
    return DistinctWords(ShownTileMaps(source.rom, ModeZeroStages(source, levels)));
}

std::vector<ByteRun> AllTileMapWords(const StageSource &source)
{
    return DistinctWords(ShownTileMaps(source.rom, ModeZeroStages(source)));
}

} // namespace tamo
