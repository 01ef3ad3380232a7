#include "core/stage_extent.h"

#include "core/object_lists.h"
#include "core/offset_table.h"
#include "core/rom_error.h"
#include "core/rom_image.h"

#include <algorithm>
#include <functional>

namespace tamo {
namespace {

constexpr int64_t SpriteTerminatorSize = 2;
constexpr int64_t CameraTerminatorSize = CameraRecordSize;
constexpr int64_t BananaTerminatorSize = 1;

// Adds what find gives; a part that lies outside the image has no place to add.
void addPart(const std::function<void()> &find)
{
    try {
        find();
    } catch (const RomRangeError &) {
    }
}

int64_t byteCount(std::span<const ByteRun> runs)
{
    int64_t count = 0;
    for (const ByteRun &run : runs)
        count += run.end - run.begin;
    return count;
}

// Whether any run overlaps the range; runs in order, as DifferingRuns gives them.
bool overlaps(std::span<const ByteRun> runs, const ByteRun &range)
{
    // The first run that ends after the range begins.
    const auto run = std::upper_bound(runs.begin(), runs.end(), range.begin,
                                      [](int64_t begin, const ByteRun &r) { return begin < r.end; });
    return run != runs.end() && run->begin < range.end && range.begin < range.end;
}

} // namespace

std::vector<ByteRun> StageExtent(const StageSource &source, int32_t level)
{
    const RomImage &rom = source.rom;
    const OffsetTable &offsets = source.offsets;
    const int64_t n = level;
    std::vector<ByteRun> extent;
    const auto add = [&](int64_t offset, int64_t length) { extent.push_back({offset, offset + length}); };

    add(offsets.FG + 2 * n, 2);
    add(offsets.BG + 2 * n, 2);
    add(offsets.Music + 2 * n, 2);
    add(offsets.LevelFunc + 4 * n, 4);
    add(offsets.StartAction + 2 * n, 2);
    add(offsets.StartPoint + 4 * n, 4);
    add(offsets.Darkness + 4 * n, 3);
    add(offsets.Camera + 2 * n, 2);
    add(offsets.Sprite + 2 * n, 2);
    add(offsets.Banana + n, 1);

    addPart([&] {
        const int64_t block = CameraBlockOffset(rom, offsets, level);
        const auto records = int64_t(ReadCameraList(rom, block).size());
        add(block, CameraRecordsStart + CameraRecordSize * records + CameraTerminatorSize);
    });
    addPart([&] {
        const int64_t list = SpriteListOffset(rom, offsets, level);
        add(list, SpriteRecordSize * int64_t(ReadSpriteList(rom, list).size()) + SpriteTerminatorSize);
    });
    addPart([&] {
        const int64_t list = BananaListOffset(rom, offsets, level);
        add(list, BananaRecordSize * int64_t(ReadBananaList(rom, list).size()) + BananaTerminatorSize);
    });
    addPart([&] {
        const Stage stage = DecodeStage(source, level, Stage{});
        if (stage.ScreenMode == 0 && stage.MapWidth > 0)
            add(TileCellOffset(stage, 0, 0), 2 * int64_t(stage.MapWidth) * stage.MapHeight);
    });
    return extent;
}

StageExtents::StageExtents(const StageSource &image)
    : m_image(image.rom)
{
    m_extents.reserve(size_t(LevelCount));
    for (int32_t level = 0; level < LevelCount; ++level)
        m_extents.push_back(StageExtent(image, level));
}

ImageDifference StageExtents::compare(std::span<const uint8_t> other) const
{
    const std::vector<ByteRun> differing = DifferingRuns(m_image.bytes(), other);
    ImageDifference difference{byteCount(differing), {}};
    for (int32_t level = 0; level < LevelCount && !differing.empty(); ++level) {
        const std::vector<ByteRun> &extent = m_extents[size_t(level)];
        if (std::any_of(extent.begin(), extent.end(), [&](const ByteRun &range) { return overlaps(differing, range); }))
            difference.stages.push_back(level);
    }
    return difference;
}

} // namespace tamo
