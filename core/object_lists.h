#pragma once

#include "core/rom_patch.h"

#include <cstdint>
#include <vector>

namespace tamo {

class RomImage;

// Fields hold what was read (0..0xFFFF, or 0..0xFF for the banana bytes); a write cuts
// whatever they hold to the field's width.
struct SpriteRecord
{
    int32_t Param = 0;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Type = 0;
};

struct CameraRecord
{
    int32_t X = 0;
    int32_t Y = 0;
};

struct BananaRecord
{
    int32_t Group = 0;
    int32_t Y = 0;
    int32_t X = 0;
};

constexpr int SpriteRecordSize = 8;
constexpr int CameraRecordSize = 4;
constexpr int CameraRecordsStart = 8; // the camera records follow the block's first 8 bytes
constexpr int BananaRecordSize = 4;
constexpr int32_t CameraListEnd = 0xFFFF; // a camera X or Y that ends the list

// Each list runs to its terminator; a list that reaches the end of the image (or starts
// outside it) ends there. A record patch writes the whole record, every field cut to its
// width; the writes throw RomRangeError when the record lies outside.
std::vector<SpriteRecord> ReadSpriteList(const RomImage &rom, int64_t offset);
RomPatch SpriteRecordPatch(int64_t offset, int index, const SpriteRecord &record);
// The record's X and Y only; its Param and Type stay as they are.
RomPatch SpritePositionPatch(int64_t offset, int index, int32_t x, int32_t y);
void WriteSpriteRecord(RomImage &rom, int64_t offset, int index, const SpriteRecord &record);

std::vector<CameraRecord> ReadCameraList(const RomImage &rom, int64_t blockOffset);
RomPatch CameraRecordPatch(int64_t blockOffset, int index, const CameraRecord &record);
void WriteCameraRecord(RomImage &rom, int64_t blockOffset, int index, const CameraRecord &record);

std::vector<BananaRecord> ReadBananaList(const RomImage &rom, int64_t offset);
RomPatch BananaRecordPatch(int64_t offset, int index, const BananaRecord &record);
void WriteBananaRecord(RomImage &rom, int64_t offset, int index, const BananaRecord &record);

} // namespace tamo
