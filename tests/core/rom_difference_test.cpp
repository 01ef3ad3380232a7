#include "core/rom_difference.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using tamo::ByteRun;
using tamo::DifferingRuns;

namespace {

// The runs as read byte by byte, the plain way.
std::vector<ByteRun> runsByteByByte(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b, int64_t joinGap)
{
    std::vector<ByteRun> runs;
    const size_t longest = std::max(a.size(), b.size());
    for (size_t at = 0; at < longest; ++at) {
        const bool differs = at >= a.size() || at >= b.size() || a[at] != b[at];
        if (!differs)
            continue;
        if (!runs.empty() && int64_t(at) - runs.back().end < std::max<int64_t>(joinGap, 1))
            runs.back().end = int64_t(at) + 1;
        else
            runs.push_back({int64_t(at), int64_t(at) + 1});
    }
    return runs;
}

} // namespace

TEST(DifferingRuns, FindsRunsJoinsCloseOnesAndCountsTheLongerArraysTail)
{
    std::vector<uint8_t> a(100);
    for (size_t i = 0; i < a.size(); ++i)
        a[i] = uint8_t(i);
    std::vector<uint8_t> b = a;
    b[3] = b[4] = 0xEE;
    b[70] = 0xEE;
    b.push_back(1);
    b.push_back(2);
    EXPECT_EQ(DifferingRuns(a, b), (std::vector<ByteRun>{{3, 5}, {70, 71}, {100, 102}}));
    // 65 equal bytes lie between the first two runs, 29 between the last two.
    EXPECT_EQ(DifferingRuns(a, b, 65), (std::vector<ByteRun>{{3, 5}, {70, 102}}));
    EXPECT_EQ(DifferingRuns(a, b, 66), (std::vector<ByteRun>{{3, 102}}));
    EXPECT_EQ(DifferingRuns(b, a), DifferingRuns(a, b));
    EXPECT_TRUE(DifferingRuns(a, a).empty());
    EXPECT_EQ(DifferingRuns({}, a), (std::vector<ByteRun>{{0, 100}}));
}

TEST(DifferingRuns, AgreesWithAByteByByteReadingWhereverRunsStartAndEnd)
{
    // Runs and gaps of every length from 1 to 300 bytes, at every alignment, over arrays of
    // odd sizes: long equal stretches, long differing ones and everything between.
    std::mt19937 random(3);
    for (int round = 0; round < 40; ++round) {
        const size_t size = 1000 + random() % 3000;
        std::vector<uint8_t> a(size);
        for (uint8_t &byte : a)
            byte = uint8_t(random());
        std::vector<uint8_t> b = a;
        for (size_t at = random() % 300; at < size;) {
            const size_t run = 1 + random() % (round % 2 ? 300 : 9);
            for (size_t i = at; i < std::min(size, at + run); ++i)
                b[i] = uint8_t(a[i] + 1 + random() % 255);
            at += run + 1 + random() % (round % 3 ? 300 : 70);
        }
        b.resize(size + random() % 20);
        for (const int64_t gap : {0, 1, 8, 64, 100})
            ASSERT_EQ(DifferingRuns(a, b, gap), runsByteByByte(a, b, gap)) << "round " << round << " gap " << gap;
    }
}
