#pragma once

#include "core/rom_patch.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tamo {

class RomImage;
struct OffsetTable;
struct Stage;
struct StageSource;

enum class ObjectKind { Sprite, Camera, Start };

// An object of the stage with a mark on the map: a sprite or camera record by its index
// in its list, or the stage's start point (index 0).
struct MapObject
{
    ObjectKind kind = ObjectKind::Start;
    int index = 0;

    friend bool operator==(const MapObject &, const MapObject &) = default;
};

// The largest X or Y an object may be given by moving it. A camera whose X or Y is 0xFFFF
// ends the camera list, so a camera stops one short of that.
int32_t LargestPosition(ObjectKind kind);

// The write of the object's X and Y, each kept within 0..LargestPosition: the two
// position words of a sprite record, a camera record (which holds nothing else), or the
// stage's entry of the start point table. Offsets are those of the stage as decoded.
RomPatch MoveObjectPatch(const RomImage &rom, const OffsetTable &offsets, const Stage &stage,
                         const MapObject &object, int32_t x, int32_t y);

// The other stages of the tile map the stage shows: every stage whose FG value names the
// same tilemap number shows columns of the same map. Stages whose FG entry lies outside
// the image are left out.
std::vector<int32_t> StagesSharingTileMap(const StageSource &source, int32_t level);
// "tile map shared with stages 12, 57, 140"; past the first listed ones "... and 9 more";
// empty when no other stage shares it.
std::string SharedTileMapText(const std::vector<int32_t> &stages, size_t listed = 8);

} // namespace tamo
