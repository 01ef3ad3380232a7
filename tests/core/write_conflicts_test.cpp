#include "core/write_conflicts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

tamo::PlacedWrite placed(int64_t offset, std::vector<uint8_t> bytes, size_t place)
{
    return {tamo::RomWrite{offset, std::move(bytes), "test"}, place};
}

} // namespace

TEST(WriteConflicts, OnlyTwoValuesForOneByteConflict)
{
    // Overlapping writes that agree, however many.
    std::vector<tamo::PlacedWrite> writes{placed(0x20, {1, 2, 3}, 0), placed(0x21, {2, 3, 4}, 1), placed(0x22, {3}, 2),
                                          placed(0x10, {9}, 3)};
    EXPECT_EQ(tamo::FindWriteConflict(writes), std::nullopt);
    // The lowest offset given two values, with the first two writes that disagree there.
    writes.push_back(placed(0x23, {5}, 4));
    writes.push_back(placed(0x21, {2, 7}, 5));
    EXPECT_EQ(tamo::FindWriteConflict(writes), (tamo::WriteConflict{0, 5, 0x22}));
}
