#pragma once

#include "core/patch_error.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tamo {

// The largest image an IPS patch can describe: its offsets and its truncation length
// have three bytes.
constexpr uint64_t IpsLargestImage = uint64_t(1) << 24;

// What an IPS patch holds, once read and checked whole.
struct IpsPatchInfo
{
    size_t records = 0;
    uint64_t end = 0;                    // one past the last byte a record writes
    std::optional<uint32_t> truncation;  // the size the patch cuts the image to
};

// Reads a whole IPS patch and checks it: "PATCH", records of a 3-byte big-endian offset
// and a 2-byte size followed by that many bytes, or a size of 0 followed by a 2-byte run
// length and the byte to repeat (an RLE record); then "EOF", alone or followed by the
// 3-byte length to cut the image to. Throws PatchError naming what is wrong and where.
IpsPatchInfo ReadIpsPatch(std::span<const uint8_t> patch);

// The size of the image the patch makes from one of sourceSize bytes: records past the
// source's end lengthen it (the bytes between are zeros), a truncation length cuts it.
uint64_t IpsTargetSize(const IpsPatchInfo &info, uint64_t sourceSize);

// The image the patch makes from source, after checking the patch as ReadIpsPatch does;
// a truncation length beyond the patched image is refused.
std::vector<uint8_t> ApplyIpsPatch(std::span<const uint8_t> patch, std::span<const uint8_t> source);

// An IPS patch that makes target from source: a record for each run of changed bytes (runs
// a few bytes apart as one), RLE records for long runs of one byte, the truncation length
// when the target is shorter. No record starts at offset 0x454F46, which would read as
// "EOF"; none is longer than 0xFFFF bytes. Images larger than 16 MiB are refused.
std::vector<uint8_t> MakeIpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> target);

} // namespace tamo
