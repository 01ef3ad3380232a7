#pragma once

#include "core/rom_patch.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tamo {

// A run of byte offsets, [begin, end).
struct ByteRun
{
    int64_t begin = 0;
    int64_t end = 0;

    friend bool operator==(const ByteRun &, const ByteRun &) = default;
};

// The runs of offsets where two byte arrays differ, in order. Bytes that only the longer
// array has count as differing. Runs less than joinGap bytes apart are given as one.
std::vector<ByteRun> DifferingRuns(std::span<const uint8_t> a, std::span<const uint8_t> b, int64_t joinGap = 0);

// Writes of a difference patch less than this far apart are made as one: a write costs
// more than a few unchanged bytes. Two of its writes have at least this many unchanged
// bytes between them.
constexpr int64_t PatchJoinGap = 64;

// How many bytes the runs cover.
int64_t RunBytes(std::span<const ByteRun> runs);

// The patch that writes the bytes of to at the runs of offsets.
RomPatch PatchOfRuns(std::span<const uint8_t> to, std::span<const ByteRun> runs, std::string_view what);

// The patch that turns the bytes from into the bytes to, which must be as many.
RomPatch DifferencePatch(std::span<const uint8_t> from, std::span<const uint8_t> to, std::string_view what);

} // namespace tamo
