#pragma once

#include "core/patch_error.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tamo {

// What a BPS patch says of itself: the size and CRC-32 of the image it applies to (the
// source) and of the image it makes (the target), and its own CRC-32.
struct BpsHeader
{
    uint64_t sourceSize = 0;
    uint64_t targetSize = 0;
    uint32_t sourceCrc = 0;
    uint32_t targetCrc = 0;
    uint32_t patchCrc = 0;
};

// The four actions of a BPS patch, each writing its length of target bytes: from the
// source at the same place, from the patch itself, from elsewhere in the source, or from
// the target written before.
enum class BpsAction : uint8_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// The format's variable-length numbers: seven bits a byte, low bits first, the last byte
// marked by its top bit, and one taken off what is left after each byte, so that every
// number has exactly one spelling.
void AppendBpsNumber(std::vector<uint8_t> &patch, uint64_t value);
size_t BpsNumberSize(uint64_t value);

// Reads a whole BPS patch and checks it: "BPS1", its own CRC first, then its header and
// every action, each of which must stay inside the source, read only target bytes
// written before it and end with the target's size. Throws PatchError naming what is
// wrong and at which patch byte; a patch that claims a target larger than maxTargetSize
// is refused from its header alone.
BpsHeader ReadBpsPatch(std::span<const uint8_t> patch, uint64_t maxTargetSize = MaxPatchTargetSize);

// The target the patch makes from source. Checks the patch as ReadBpsPatch does, then the
// source's size and CRC, all before the target is allocated, and the target's CRC after.
std::vector<uint8_t> ApplyBpsPatch(std::span<const uint8_t> patch, std::span<const uint8_t> source,
                                   uint64_t maxTargetSize = MaxPatchTargetSize);

// A BPS patch (empty metadata) that makes target from source. Runs found in the source
// at the same place, in the source elsewhere (a moved block costs a few bytes, not its
// length) or in the target written before (a repeated row, a run of one byte) are copied;
// the rest is carried in the patch. Images larger than MaxPatchTargetSize are refused.
std::vector<uint8_t> MakeBpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> target);

} // namespace tamo
