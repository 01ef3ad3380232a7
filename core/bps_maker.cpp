#include "core/bps_patch.h"

#include "core/crc32.h"
#include "core/grouped_number.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace tamo {
namespace {

// Matches are found by windows of this many bytes ...
constexpr size_t Window = 8;
// ... of which the images are indexed at every Stride-th position; a lookup tries the
// windows at Stride positions in a row, one of which lies on the index's grid.
constexpr size_t Stride = 4;
// Entries of a window's chain tried in one lookup, the newest first.
constexpr int MaxCandidates = 16;
// A run this long is taken without looking for a longer one.
constexpr size_t LongEnough = 64;
// A copy pays when it saves more than the header of the literal run that it breaks.
constexpr size_t MinimumGain = 2;

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
        : m_shift(64 - std::clamp(int(std::bit_width(expected)), 10, 22))
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
        m_entries.push_back({uint32_t(at), head});
        head = int32_t(m_entries.size() - 1);
    }

    template<typename Visit>
    void forEach(uint64_t window, Visit visit) const
    {
        int32_t entry = m_heads[slot(window)];
        for (int tried = 0; entry >= 0 && tried < MaxCandidates; ++tried) {
            visit(size_t(m_entries[size_t(entry)].at));
            entry = m_entries[size_t(entry)].next;
        }
    }

private:
    struct Entry
    {
        uint32_t at;
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

struct Match
{
    BpsAction action = BpsAction::SourceRead;
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
        , m_targetIndex(0)
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
            const Match match = bestMatch(position);
            if (match.length == 0) {
                // A literal byte: later runs may be copied from it.
                if (position % Stride == 0 && position + Window <= m_target.size())
                    m_targetIndex.insert(m_target.data(), position);
                ++position;
                continue;
            }
            writeLiteral(literalStart, position);
            writeCopy(match);
            position += match.length;
            literalStart = position;
        }
        writeLiteral(literalStart, position);
        appendCrc(Crc32(m_source));
        appendCrc(Crc32(m_target));
        appendCrc(Crc32(m_patch));
        return std::move(m_patch);
    }

private:
    Match bestMatch(size_t position) const
    {
        Match best;
        const auto consider = [&](BpsAction action, size_t from) {
            const bool fromSource = action == BpsAction::SourceRead || action == BpsAction::SourceCopy;
            const size_t limit = m_target.size() - position;
            const size_t length = fromSource ? commonLength(m_source.data() + from, m_target.data() + position,
                                                            std::min(limit, m_source.size() - from))
                                             : commonLength(m_target.data() + from, m_target.data() + position, limit);
            if (length <= best.length)
                return;
            const size_t cost = actionCost(action, from, length);
            if (length > cost + MinimumGain && length - cost > best.gain)
                best = {action, from, length, length - cost};
        };
        if (position < m_source.size())
            consider(BpsAction::SourceRead, position);
        if (best.length >= LongEnough)
            return best;
        if (m_sourcePosition < m_source.size())
            consider(BpsAction::SourceCopy, m_sourcePosition);
        if (m_targetPosition < position)
            consider(BpsAction::TargetCopy, m_targetPosition);
        // A run of one byte or of one tile word repeated.
        for (size_t back = 1; back <= 2 && back <= position; ++back)
            consider(BpsAction::TargetCopy, position - back);
        if (best.length >= LongEnough)
            return best;
        for (size_t k = 0; k < Stride && position + k + Window <= m_target.size(); ++k) {
            const uint64_t window = load64(m_target.data() + position + k);
            m_sourceIndex.forEach(window, [&](size_t at) {
                if (at >= k)
                    consider(BpsAction::SourceCopy, at - k);
            });
            m_targetIndex.forEach(window, [&](size_t at) {
                if (at >= k && at - k < position)
                    consider(BpsAction::TargetCopy, at - k);
            });
        }
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
