#include "core/bps_patch.h"

#include "core/crc32.h"
#include "core/grouped_number.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

namespace tamo {
namespace {

// Matches are found by windows of this many bytes, of which the source and the literal
// parts of the target are indexed at every Stride-th position. Every position of a changed
// part looks its window up, and a match found is extended backwards, so that any run of at
// least Window + Stride - 1 bytes is found wherever it starts.
constexpr size_t Window = 8;
constexpr size_t Stride = 8;
// Entries of a window's chain tried in one lookup, the newest first.
constexpr int MaxCandidates = 16;
// A run this long is taken without looking for a longer one.
constexpr size_t LongEnough = 64;
// A copy pays when it saves more than the header of the literal run that it breaks.
constexpr size_t MinimumGain = 2;
// A long literal run (new data) is looked up ever more sparsely: after every so many of
// its bytes the step between lookups grows by two, up to the largest. Odd steps meet every
// position of the Stride grid, so a run of Window + Stride x step bytes is still found.
constexpr size_t LiteralBytesPerStep = 256;
constexpr size_t LargestStep = 15;

uint64_t load64(const uint8_t *bytes)
{
    uint64_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// How many bytes from a and b agree, up to limit.
size_t commonLength(const uint8_t *a, const uint8_t *b, size_t limit)
{
    size_t length = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; length + 8 <= limit; length += 8) {
            const uint64_t difference = load64(a + length) ^ load64(b + length);
            if (difference != 0)
                return length + size_t(std::countr_zero(difference)) / 8;
        }
    }
    while (length < limit && a[length] == b[length])
        ++length;
    return length;
}

// The positions at which windows occur, chained by a hash of their bytes. A window of
// one byte repeated is left out: such runs are copied from the byte before them, and in
// padding they would make chains of millions.
class WindowIndex
{
public:
    explicit WindowIndex(size_t expected)
        : m_shift(64 - std::clamp(int(std::bit_width(expected)), 10, 18))
        , m_heads(size_t(1) << (64 - m_shift), -1)
    {
        m_entries.reserve(expected);
    }

    void insert(const uint8_t *bytes, size_t at)
    {
        const uint64_t window = load64(bytes + at);
        if (window == (window & 0xFFu) * 0x0101010101010101u)
            return;
        int32_t &head = m_heads[slot(window)];
        m_entries.push_back({uint32_t(at), uint32_t(window), head});
        head = int32_t(m_entries.size() - 1);
    }

    // Visits the positions that may hold the window; the low half of each is checked
    // here, which spares reading the image at most of the others.
    template<typename Visit>
    void forEach(uint64_t window, Visit visit) const
    {
        int32_t entry = m_heads[slot(window)];
        for (int tried = 0; entry >= 0 && tried < MaxCandidates; ++tried) {
            const Entry &found = m_entries[size_t(entry)];
            if (found.low == uint32_t(window))
                visit(size_t(found.at));
            entry = found.next;
        }
    }

private:
    struct Entry
    {
        uint32_t at;
        uint32_t low;
        int32_t next;
    };

    size_t slot(uint64_t window) const { return size_t((window * 0x9E3779B97F4A7C15u) >> m_shift); }

    int m_shift;
    std::vector<int32_t> m_heads;
    std::vector<Entry> m_entries;
};

uint64_t offsetCode(size_t from, size_t position)
{
    return from >= position ? uint64_t(from - position) << 1 : uint64_t(position - from) << 1 | 1u;
}

// A run of length target bytes from start on, copied from from.
struct Match
{
    BpsAction action = BpsAction::SourceRead;
    size_t start = 0;
    size_t from = 0;
    size_t length = 0;
    size_t gain = 0;
};

// Writes the target front to back, each run by the cheapest action it finds: greedy,
// one lookup per position of the changed parts, none where source and target agree.
class BpsMaker
{
public:
    BpsMaker(std::span<const uint8_t> source, std::span<const uint8_t> target)
        : m_source(source)
        , m_target(target)
        , m_sourceIndex(source.size() / Stride)
        , m_targetIndex(target.size() / Stride)
    {
        for (size_t at = 0; at + Window <= source.size(); at += Stride)
            m_sourceIndex.insert(source.data(), at);
    }

    std::vector<uint8_t> make()
    {
        m_patch.assign({'B', 'P', 'S', '1'});
        AppendBpsNumber(m_patch, m_source.size());
        AppendBpsNumber(m_patch, m_target.size());
        AppendBpsNumber(m_patch, 0); // no metadata
        size_t position = 0;
        size_t literalStart = 0;
        while (position < m_target.size()) {
            const Match match = bestMatch(position, literalStart);
            if (match.length == 0) {
                const size_t step = std::min(1 + 2 * ((position - literalStart) / LiteralBytesPerStep), LargestStep);
                indexLiteral(position, std::min(position + step, m_target.size()));
                position += step;
                continue;
            }
            writeLiteral(literalStart, match.start);
            writeCopy(match);
            position = match.start + match.length;
            literalStart = position;
        }
        writeLiteral(literalStart, m_target.size());
        appendCrc(Crc32(m_source));
        appendCrc(Crc32(m_target));
        appendCrc(Crc32(m_patch));
        return std::move(m_patch);
    }

private:
    // The literal bytes [begin, end), from which later runs may be copied.
    void indexLiteral(size_t begin, size_t end)
    {
        for (size_t at = (begin + Stride - 1) / Stride * Stride; at < end && at + Window <= m_target.size(); at += Stride)
            m_targetIndex.insert(m_target.data(), at);
    }

    // The copy that pays best from position on, or that starts earlier in the literal run
    // begun at literalStart and reaches position; none (length 0) when none pays.
    Match bestMatch(size_t position, size_t literalStart) const
    {
        Match best;
        // A run from from on, extended back over up to reach bytes of the literal run.
        const auto consider = [&](BpsAction action, size_t from, size_t reach) {
            const bool fromSource = action == BpsAction::SourceRead || action == BpsAction::SourceCopy;
            const uint8_t *const base = fromSource ? m_source.data() : m_target.data();
            const size_t limit = std::min(m_target.size() - position, fromSource ? m_source.size() - from : SIZE_MAX);
            size_t length = commonLength(base + from, m_target.data() + position, limit);
            size_t back = 0;
            if (length > 0) {
                for (const size_t most = std::min(reach, from); back < most; ++back) {
                    if (base[from - back - 1] != m_target[position - back - 1])
                        break;
                }
            }
            from -= back;
            length += back;
            if (length <= best.length)
                return;
            const size_t cost = actionCost(action, from, length);
            if (length > cost + MinimumGain && length - cost > best.gain)
                best = {action, position - back, from, length, length - cost};
        };
        const size_t back = position - literalStart;
        if (position < m_source.size())
            consider(BpsAction::SourceRead, position, back);
        if (best.length >= LongEnough)
            return best;
        if (m_sourcePosition < m_source.size())
            consider(BpsAction::SourceCopy, m_sourcePosition, back);
        if (m_targetPosition < position)
            consider(BpsAction::TargetCopy, m_targetPosition, back);
        // A run of one byte or of one tile word repeated.
        for (size_t distance = 1; distance <= 2 && distance <= position; ++distance)
            consider(BpsAction::TargetCopy, position - distance, back);
        if (best.length >= LongEnough || position + Window > m_target.size())
            return best;
        const uint64_t window = load64(m_target.data() + position);
        m_sourceIndex.forEach(window, [&](size_t at) { consider(BpsAction::SourceCopy, at, back); });
        m_targetIndex.forEach(window, [&](size_t at) {
            if (at < position)
                consider(BpsAction::TargetCopy, at, back);
        });
        return best;
    }

    size_t actionCost(BpsAction action, size_t from, size_t length) const
    {
        const size_t word = BpsNumberSize(uint64_t(length - 1) << 2 | uint64_t(action));
        switch (action) {
        case BpsAction::SourceCopy: return word + BpsNumberSize(offsetCode(from, m_sourcePosition));
        case BpsAction::TargetCopy: return word + BpsNumberSize(offsetCode(from, m_targetPosition));
        default: return word;
        }
    }

    void writeAction(BpsAction action, size_t length)
    {
        AppendBpsNumber(m_patch, uint64_t(length - 1) << 2 | uint64_t(action));
    }

    void writeLiteral(size_t begin, size_t end)
    {
        if (end == begin)
            return;
        writeAction(BpsAction::TargetRead, end - begin);
        m_patch.insert(m_patch.end(), m_target.begin() + ptrdiff_t(begin), m_target.begin() + ptrdiff_t(end));
    }

    void writeCopy(const Match &match)
    {
        writeAction(match.action, match.length);
        if (match.action == BpsAction::SourceCopy) {
            AppendBpsNumber(m_patch, offsetCode(match.from, m_sourcePosition));
            m_sourcePosition = match.from + match.length;
        } else if (match.action == BpsAction::TargetCopy) {
            AppendBpsNumber(m_patch, offsetCode(match.from, m_targetPosition));
            m_targetPosition = match.from + match.length;
        }
    }

    void appendCrc(uint32_t crc)
    {
        for (int shift = 0; shift < 32; shift += 8)
            m_patch.push_back(uint8_t(crc >> shift));
    }

    std::span<const uint8_t> m_source;
    std::span<const uint8_t> m_target;
    WindowIndex m_sourceIndex;
    WindowIndex m_targetIndex;
    size_t m_sourcePosition = 0;
    size_t m_targetPosition = 0;
    std::vector<uint8_t> m_patch;
};

void requireMakeable(std::span<const uint8_t> image, const char *which)
{
    if (image.size() > MaxPatchTargetSize)
        throw PatchError(std::string("the ") + which + " image is " + GroupedNumber(image.size())
                         + " bytes, more than the " + GroupedNumber(MaxPatchTargetSize) + " a patch may cover");
}

} // namespace

std::vector<uint8_t> MakeBpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> target)
{
    requireMakeable(source, "source");
    requireMakeable(target, "target");
    return BpsMaker(source, target).make();
}

} // namespace tamo
