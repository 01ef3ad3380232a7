#pragma once

#include "core/level_settings.h"
#include "core/object_lists.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tamo {

class RomImage;
struct OffsetTable;

// One list of a stage: where it starts, its records, and its owner, the lowest-numbered
// stage whose list of that kind starts at the same place (the stage itself when no lower
// one shares it). Stages that share a list hold the same records, kept with the owner.
template<typename Record>
struct StageList
{
    int64_t offset = 0;
    int32_t owner = 0;
    std::vector<Record> records;
};

// What one stage holds in the image besides its tile map: its settings record and its
// sprite list, camera block (its records; the head is in the settings) and banana list.
struct StageRecords
{
    int32_t level = 0;
    LevelSettings settings;
    StageList<SpriteRecord> sprites;
    StageList<CameraRecord> cameras; // offset: the camera block
    StageList<BananaRecord> bananas;
};

struct ImageStages
{
    std::vector<StageRecords> stages; // in order of their numbers
    // The stages left out, each with why: "stage 195: Camera block: offset ... lies outside".
    std::vector<std::string> leftOut;
};

// Stages 0..229, but for those with an entry of their tables (settings, pointers, the head
// of the camera block) outside the image; owners are found among the stages read.
ImageStages ReadStageRecords(const RomImage &rom, const OffsetTable &offsets);

} // namespace tamo
