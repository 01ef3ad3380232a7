#include "core/rom_difference.h"

#include "core/rom_error.h"

#include <algorithm>
#include <cstring>

namespace tamo {

namespace {

// Two arrays compared eight bytes at a time where they can be, portably: the words are
// loaded byte for byte (memcpy) and only ever tested for equality or a zero byte, so the
// order of their bytes does not matter.
class ByteComparison
{
public:
    ByteComparison(std::span<const uint8_t> a, std::span<const uint8_t> b)
        : m_a(a.data())
        , m_b(b.data())
        , m_common(std::min(a.size(), b.size()))
        , m_longest(std::max(a.size(), b.size()))
    {
    }

    size_t longest() const { return m_longest; }

    // The first offset from at on where the arrays differ; longest() when there is none.
    // Bytes that only the longer array has differ.
    size_t nextDifference(size_t at) const
    {
        if (at < m_common) {
            while (m_common - at >= Window && std::memcmp(m_a + at, m_b + at, Window) == 0)
                at += Window;
            while (m_common - at >= Word && word(m_a, at) == word(m_b, at))
                at += Word;
            while (at < m_common && m_a[at] == m_b[at])
                ++at;
        }
        return std::min(at, m_longest);
    }

    // The end of the run of differing bytes that starts at at.
    size_t runEnd(size_t at) const
    {
        if (at >= m_common)
            return m_longest;
        // A block at a time, with no early exit inside it: the compiler makes it a vector test.
        while (m_common - at >= Block && !anyEqualByte(at))
            at += Block;
        while (m_common - at >= Word && !hasZeroByte(word(m_a, at) ^ word(m_b, at)))
            at += Word;
        while (at < m_common && m_a[at] != m_b[at])
            ++at;
        return at < m_common ? at : m_longest;
    }

private:
    static constexpr size_t Word = sizeof(uint64_t);
    // Equal stretches are skipped a window at a time by the library's compare.
    static constexpr size_t Window = 256;
    static constexpr size_t Block = 32;

    static uint64_t word(const uint8_t *bytes, size_t at)
    {
        uint64_t value;
        std::memcpy(&value, bytes + at, Word);
        return value;
    }
    // Non-zero exactly when a byte of value is zero.
    static uint64_t zeroBytes(uint64_t value)
    {
        constexpr uint64_t Ones = 0x0101010101010101;
        constexpr uint64_t Highs = 0x8080808080808080;
        return (value - Ones) & ~value & Highs;
    }
    static bool hasZeroByte(uint64_t value) { return zeroBytes(value) != 0; }

    bool anyEqualByte(size_t at) const
    {
        const uint8_t *a = m_a + at;
        const uint8_t *b = m_b + at;
        uint8_t equal = 0;
        for (size_t i = 0; i < Block; ++i)
            equal |= uint8_t(a[i] == b[i]);
        return equal != 0;
    }

    const uint8_t *m_a;
    const uint8_t *m_b;
    size_t m_common;
    size_t m_longest;
};

} // namespace

std::vector<ByteRun> DifferingRuns(std::span<const uint8_t> a, std::span<const uint8_t> b, int64_t joinGap)
{
    const ByteComparison bytes(a, b);
    const size_t gap = size_t(std::max<int64_t>(joinGap, 1));
    std::vector<ByteRun> runs;
    size_t at = bytes.nextDifference(0);
    while (at < bytes.longest()) {
        const size_t begin = at;
        size_t end = 0;
        do {
            end = bytes.runEnd(at);
            at = bytes.nextDifference(end);
        } while (at < bytes.longest() && at - end < gap);
        runs.push_back({int64_t(begin), int64_t(end)});
    }
    return runs;
}

int64_t RunBytes(std::span<const ByteRun> runs)
{
    int64_t bytes = 0;
    for (const ByteRun &run : runs)
        bytes += run.end - run.begin;
    return bytes;
}

RomPatch PatchOfRuns(std::span<const uint8_t> to, std::span<const ByteRun> runs, std::string_view what)
{
    RomPatch patch;
    for (const ByteRun &run : runs)
        patch.write(run.begin, to.subspan(size_t(run.begin), size_t(run.end - run.begin)), what);
    return patch;
}

RomPatch DifferencePatch(std::span<const uint8_t> from, std::span<const uint8_t> to, std::string_view what)
{
    if (from.size() != to.size())
        throw ReplacementSizeError(what, to.size(), from.size());
    return PatchOfRuns(to, DifferingRuns(from, to, PatchJoinGap), what);
}

} // namespace tamo
