#include "core/ips_patch.h"

#include "core/grouped_number.h"
#include "core/patch_cursor.h"
#include "core/rom_difference.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace tamo {
namespace {

constexpr std::string_view Magic = "PATCH";
constexpr uint32_t EndMarker = 0x454F46; // "EOF", read as an offset
constexpr size_t LongestRecord = 0xFFFF;
constexpr size_t RecordHeader = 5; // offset and size
constexpr size_t RleRecord = 8;    // offset, size 0, run length and byte
// Changed runs closer than a record header are carried in one record.
constexpr int64_t JoinGap = int64_t(RecordHeader);

// One record as read: size bytes at offset, from data or all of value.
struct IpsRecord
{
    uint32_t offset = 0;
    uint32_t size = 0;
    std::span<const uint8_t> data{}; // empty for an RLE record
    uint8_t value = 0;
};

template<typename Step>
IpsPatchInfo walkRecords(std::span<const uint8_t> patch, Step step)
{
    if (patch.size() < Magic.size() || !std::equal(Magic.begin(), Magic.end(), patch.begin()))
        throw PatchError("not an IPS patch: it does not begin with \"PATCH\"");
    PatchCursor cursor(patch, patch.size(), "runs past the end");
    cursor.take(Magic.size());
    IpsPatchInfo info;
    for (;;) {
        if (cursor.atEnd())
            throw PatchError("the IPS patch ends at patch byte " + GroupedNumber(cursor.at())
                             + " without its end marker \"EOF\"");
        cursor.beginItem("record");
        IpsRecord record{cursor.bigEndian(3)};
        if (record.offset == EndMarker) {
            cursor.nameItem("end marker \"EOF\"");
            if (cursor.left() == 3)
                info.truncation = cursor.bigEndian(3);
            else if (!cursor.atEnd())
                cursor.fail("is followed by " + GroupedNumber(cursor.left())
                            + " bytes; only a 3-byte truncation length may follow it");
            return info;
        }
        record.size = cursor.bigEndian(2);
        if (record.size == 0) {
            cursor.nameItem("RLE record");
            record.size = cursor.bigEndian(2);
            record.value = cursor.byte();
            if (record.size == 0)
                cursor.fail("repeats its byte 0 times");
        } else {
            record.data = cursor.take(record.size);
        }
        step(record);
        ++info.records;
        info.end = std::max<uint64_t>(info.end, uint64_t(record.offset) + record.size);
    }
}

void requireIpsSize(std::span<const uint8_t> image, const char *which)
{
    if (image.size() > IpsLargestImage)
        throw PatchError(std::string("the ") + which + " image is " + GroupedNumber(image.size())
                         + " bytes; IPS cannot describe an image larger than 16 MiB: make a BPS patch");
}

// Writes the records of one run of changed target bytes.
class IpsWriter
{
public:
    explicit IpsWriter(std::span<const uint8_t> target)
        : m_target(target)
    {
        m_patch.assign(Magic.begin(), Magic.end());
    }

    void writeRun(size_t begin, size_t end)
    {
        // A record cannot start at the end marker's offset; the byte before it is one
        // that the target holds too.
        if (begin == EndMarker)
            --begin;
        size_t at = begin;
        while (at < end) {
            const size_t same = sameBytes(at, end);
            if (rlePays(same, at + same == end)) {
                size_t length = std::min(same, LongestRecord);
                if (at + length == EndMarker && at + length < end)
                    --length;
                writeRle(at, length);
                at += length;
            } else {
                const size_t literalEnd = literalRunEnd(at, end);
                writeLiteral(at, literalEnd);
                at = literalEnd;
            }
        }
    }

    std::vector<uint8_t> finish(std::optional<uint32_t> truncation)
    {
        m_patch.insert(m_patch.end(), {'E', 'O', 'F'});
        if (truncation)
            bigEndian(*truncation, 3);
        return std::move(m_patch);
    }

private:
    // A run of one byte pays as an RLE record when it saves more than that record and,
    // unless it ends the changed run, the header of the record that follows it.
    static bool rlePays(size_t length, bool endsRun)
    {
        return length > RleRecord + (endsRun ? 0 : RecordHeader);
    }

    size_t sameBytes(size_t at, size_t end) const
    {
        size_t length = 1;
        while (at + length < end && m_target[at + length] == m_target[at])
            ++length;
        return length;
    }

    // Where a literal record from at ends: before a run of one byte worth its own RLE
    // record, at the longest record's length, at the run's end, never at the end marker.
    size_t literalRunEnd(size_t at, size_t end) const
    {
        size_t stop = at;
        while (stop < end && stop - at < LongestRecord) {
            const size_t same = sameBytes(stop, end);
            if (stop > at && stop != EndMarker && rlePays(same, stop + same == end))
                break;
            stop += stop == EndMarker ? 1 : same;
        }
        stop = std::min(stop, at + LongestRecord);
        if (stop == EndMarker && stop < end)
            --stop;
        return stop;
    }

    void writeRle(size_t at, size_t length)
    {
        bigEndian(uint32_t(at), 3);
        bigEndian(0, 2);
        bigEndian(uint32_t(length), 2);
        m_patch.push_back(m_target[at]);
    }

    void writeLiteral(size_t begin, size_t end)
    {
        bigEndian(uint32_t(begin), 3);
        bigEndian(uint32_t(end - begin), 2);
        m_patch.insert(m_patch.end(), m_target.begin() + ptrdiff_t(begin), m_target.begin() + ptrdiff_t(end));
    }

    void bigEndian(uint32_t value, int length)
    {
        for (int shift = 8 * (length - 1); shift >= 0; shift -= 8)
            m_patch.push_back(uint8_t(value >> shift));
    }

    std::span<const uint8_t> m_target;
    std::vector<uint8_t> m_patch;
};

} // namespace

IpsPatchInfo ReadIpsPatch(std::span<const uint8_t> patch)
{
    return walkRecords(patch, [](const IpsRecord &) {});
}

uint64_t IpsTargetSize(const IpsPatchInfo &info, uint64_t sourceSize)
{
    return info.truncation ? *info.truncation : std::max(sourceSize, info.end);
}

std::vector<uint8_t> ApplyIpsPatch(std::span<const uint8_t> patch, std::span<const uint8_t> source)
{
    const IpsPatchInfo info = ReadIpsPatch(patch);
    const uint64_t patchedSize = std::max<uint64_t>(source.size(), info.end);
    if (info.truncation && *info.truncation > patchedSize)
        throw PatchError("the IPS patch cuts the image to " + GroupedNumber(*info.truncation)
                         + " bytes, more than the " + GroupedNumber(patchedSize) + " it has");
    std::vector<uint8_t> target(source.begin(), source.end());
    target.resize(size_t(patchedSize), 0);
    walkRecords(patch, [&](const IpsRecord &record) {
        uint8_t *const out = target.data() + record.offset;
        if (record.data.empty())
            std::memset(out, record.value, record.size);
        else
            std::memcpy(out, record.data.data(), record.size);
    });
    target.resize(size_t(IpsTargetSize(info, source.size())));
    return target;
}

std::vector<uint8_t> MakeIpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> target)
{
    requireIpsSize(source, "source");
    requireIpsSize(target, "target");
    IpsWriter writer(target);
    for (const ByteRun &run : DifferingRuns(source, target, JoinGap)) {
        const auto end = std::min<size_t>(size_t(run.end), target.size());
        if (size_t(run.begin) < end)
            writer.writeRun(size_t(run.begin), end);
    }
    return writer.finish(target.size() < source.size() ? std::optional(uint32_t(target.size())) : std::nullopt);
}

} // namespace tamo
