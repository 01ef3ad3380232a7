#include "core/stage_records.h"

#include "core/rom_error.h"
#include "core/rom_image.h"
#include "core/stage.h"

#include <map>
#include <string>

namespace tamo {
namespace {

StageRecords readStage(const RomImage &rom, const OffsetTable &offsets, int32_t level)
{
    StageRecords stage;
    stage.level = level;
    stage.settings = ReadLevelSettings(rom, offsets, level);
    stage.sprites.offset = SpriteListOffset(rom, offsets, level);
    stage.sprites.records = ReadSpriteList(rom, stage.sprites.offset);
    stage.cameras.offset = CameraBlockOffset(rom, offsets, level);
    stage.cameras.records = ReadCameraList(rom, stage.cameras.offset);
    stage.bananas.offset = BananaListOffset(rom, offsets, level);
    stage.bananas.records = ReadBananaList(rom, stage.bananas.offset);
    return stage;
}

// Stages are read in order, so the first stage seen at a place is the lowest one there.
template<typename Record>
void findOwner(StageList<Record> &list, int32_t level, std::map<int64_t, int32_t> &owners)
{
    list.owner = owners.try_emplace(list.offset, level).first->second;
}

} // namespace

ImageStages ReadStageRecords(const RomImage &rom, const OffsetTable &offsets)
{
    ImageStages image;
    std::map<int64_t, int32_t> spriteOwners, cameraOwners, bananaOwners;
    for (int32_t level = 0; level < LevelCount; ++level) {
        try {
            image.stages.push_back(readStage(rom, offsets, level));
        } catch (const RomRangeError &error) {
            image.leftOut.push_back("stage " + std::to_string(level) + ": " + error.what());
            continue;
        }
        StageRecords &stage = image.stages.back();
        findOwner(stage.sprites, level, spriteOwners);
        findOwner(stage.cameras, level, cameraOwners);
        findOwner(stage.bananas, level, bananaOwners);
    }
    return image;
}

} // namespace tamo
