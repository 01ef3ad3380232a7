#pragma once

#include "core/bps_patch.h"
#include "core/stage_extent.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tamo {

// The two patch formats a stage is released in: BPS, which carries the checksums of the
// image it applies to and of the one it makes, and IPS, for older tools.
enum class PatchFormat { Bps, Ips };

// "bps" or "ips".
std::string PatchFormatName(PatchFormat format);
// The format a patch file's name asks for: ".bps" or ".ips", in any letter case.
std::optional<PatchFormat> PatchFormatForName(const std::filesystem::path &file);
// The format of a patch by its first bytes; a PatchError for anything else.
PatchFormat PatchFormatOf(std::span<const uint8_t> patch);

// The patch in that format that makes target from source.
std::vector<uint8_t> MakePatch(PatchFormat format, std::span<const uint8_t> source, std::span<const uint8_t> target);
// The image a BPS or IPS patch makes from source, every check passed (see bps_patch.h
// and ips_patch.h); throws PatchError otherwise.
std::vector<uint8_t> ApplyPatch(std::span<const uint8_t> patch, std::span<const uint8_t> source);

// What a patch says of itself, after it has been read and checked whole. An IPS patch
// names no source and, unless it cuts the image, no target size.
struct PatchInfo
{
    PatchFormat format = PatchFormat::Bps;
    std::optional<uint64_t> sourceSize;
    std::optional<uint64_t> targetSize;
    std::optional<BpsHeader> bps;
};
PatchInfo ReadPatchInfo(std::span<const uint8_t> patch);

// The image a patch makes from the base, and how it differs from the base: the bytes and
// the stages (laid out as the base has them) whose tile map, lists or settings it changes.
struct PatchedImage
{
    std::vector<uint8_t> bytes;
    ImageDifference difference;
};
PatchedImage PatchImage(const StageSource &base, std::span<const uint8_t> patch);
// The same for an image that keeps its size, as one edited in place does: a patch that
// would make it longer or shorter is refused with a PatchError.
PatchedImage PatchImageKeepingSize(const StageSource &base, std::span<const uint8_t> patch);

} // namespace tamo
