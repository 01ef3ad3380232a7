#include "core/stage_extent.h"

#include "core/object_lists.h"
#include "core/offset_table.h"
#include "core/rom_error.h"
#include "core/rom_image.h"

#include <algorithm>
#include <functional>

namespace tamo {
namespace {

constexpr int64_t CameraBlockHead = 8;
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
        add(block, CameraBlockHead + CameraRecordSize * records + CameraTerminatorSize);
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

std::vector<int32_t> DifferingStages(std::span<const ByteRun> differing, const StageSource &source)
{
    std::vector<int32_t> stages;
    for (int32_t level = 0; level < LevelCount && !differing.empty(); ++level) {
        const std::vector<ByteRun> extent = StageExtent(source, level);
        if (std::any_of(extent.begin(), extent.end(), [&](const ByteRun &range) { return Overlaps(differing, range); }))
            stages.push_back(level);
    }
    return stages;
}

ImageDifference CompareImages(const StageSource &image, std::span<const uint8_t> other)
{
    const std::vector<ByteRun> differing = DifferingRuns(image.rom.bytes(), other);
    return {ByteCount(differing), DifferingStages(differing, image)};
}

} // namespace tamo
