#pragma once

#include "core/rom_patch.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tamo {

// A write with the index of the place it comes from (a line of a text file, say).
struct PlacedWrite
{
    RomWrite write;
    size_t place = 0;
};

// Two writes that give the byte at offset different values.
struct WriteConflict
{
    size_t firstPlace = 0;
    size_t secondPlace = 0;
    int64_t offset = 0;

    friend bool operator==(const WriteConflict &, const WriteConflict &) = default;
};

// The conflict at the lowest offset; none when every byte written is given one value,
// however many writes give it. Named are the first write of that byte in the list and the
// first after it that gives the byte another value.
std::optional<WriteConflict> FindWriteConflict(std::span<const PlacedWrite> writes);

// All the writes as one patch, in their order.
RomPatch PatchOf(std::span<const PlacedWrite> writes);

} // namespace tamo
