#include "core/write_conflicts.h"

#include <algorithm>
#include <vector>

namespace tamo {
namespace {

struct WrittenByte
{
    int64_t offset;
    size_t order; // of its write in the list
    uint8_t value;
};

} // namespace

std::optional<WriteConflict> FindWriteConflict(std::span<const PlacedWrite> writes)
{
    std::vector<WrittenByte> bytes;
    for (size_t order = 0; order < writes.size(); ++order) {
        const RomWrite &write = writes[order].write;
        for (size_t i = 0; i < write.bytes.size(); ++i)
            bytes.push_back({write.offset + int64_t(i), order, write.bytes[i]});
    }
    std::sort(bytes.begin(), bytes.end(), [](const WrittenByte &a, const WrittenByte &b) {
        return a.offset != b.offset ? a.offset < b.offset : a.order < b.order;
    });
    for (size_t first = 0, next = 0; first < bytes.size(); first = next) {
        for (next = first + 1; next < bytes.size() && bytes[next].offset == bytes[first].offset; ++next) {
            if (bytes[next].value != bytes[first].value)
                return WriteConflict{writes[bytes[first].order].place, writes[bytes[next].order].place, bytes[first].offset};
        }
    }
    return std::nullopt;
}

RomPatch PatchOf(std::span<const PlacedWrite> writes)
{
    RomPatch patch;
    for (const PlacedWrite &placed : writes)
        patch.write(placed.write.offset, placed.write.bytes, placed.write.what);
    return patch;
}

} // namespace tamo
