#include "core/bps_patch.h"

#include "core/crc32.h"
#include "core/grouped_number.h"
#include "core/integer_syntax.h"
#include "core/patch_cursor.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace tamo {
namespace {

constexpr std::string_view Magic = "BPS1";
constexpr size_t ChecksumBytes = 12;
// The magic, three one-byte numbers and the checksums.
constexpr size_t SmallestPatch = 4 + 3 + ChecksumBytes;
// Nine bytes hold every number below 2^63; a longer one is taken for a damaged patch.
constexpr int LongestNumber = 9;
// A copier header that some ROM files carry before the image.
constexpr uint64_t CopierHeader = 512;

uint32_t littleEndian32(std::span<const uint8_t> bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

std::string crcText(uint32_t crc)
{
    return "0x" + hexText(crc, 8);
}

std::string bytesText(uint64_t count)
{
    return GroupedNumber(count) + (count == 1 ? " byte" : " bytes");
}

uint64_t readNumber(PatchCursor &cursor)
{
    uint64_t value = 0;
    uint64_t shift = 1;
    for (int length = 1;; ++length) {
        const uint8_t byte = cursor.byte();
        value += (byte & 0x7Fu) * shift;
        if (byte & 0x80u)
            return value;
        if (length == LongestNumber)
            cursor.fail("holds a number longer than 63 bits");
        shift <<= 7;
        value += shift;
    }
}

// A SourceCopy's or TargetCopy's move of its read position: the magnitude shifted up by
// one, the low bit set when it is backwards.
struct RelativeOffset
{
    uint64_t magnitude = 0;
    bool backwards = false;
};

RelativeOffset readOffset(PatchCursor &cursor)
{
    const uint64_t code = readNumber(cursor);
    return {code >> 1, (code & 1u) != 0};
}

// position moved by offset when that lies in [0, limit]; none otherwise.
std::optional<uint64_t> moved(uint64_t position, const RelativeOffset &offset, uint64_t limit)
{
    if (offset.backwards)
        return offset.magnitude <= position ? std::optional(position - offset.magnitude) : std::nullopt;
    if (position > limit || offset.magnitude > limit - position)
        return std::nullopt;
    return position + offset.magnitude;
}

// Where a patch's parts lie, once its magic, CRC and header have been read.
struct BpsLayout
{
    BpsHeader header;
    std::span<const uint8_t> patch;
    size_t actionsStart = 0;
};

BpsLayout readLayout(std::span<const uint8_t> patch, uint64_t maxTargetSize)
{
    if (patch.size() < Magic.size() || !std::equal(Magic.begin(), Magic.end(), patch.begin()))
        throw PatchError("not a BPS patch: it does not begin with \"BPS1\"");
    if (patch.size() < SmallestPatch)
        throw PatchError("the BPS patch is " + bytesText(patch.size()) + " long, too short for its header and checksums");
    BpsLayout layout{{}, patch, 0};
    BpsHeader &header = layout.header;
    header.patchCrc = littleEndian32(patch.last(4));
    const uint32_t actualCrc = Crc32(patch.first(patch.size() - 4));
    if (actualCrc != header.patchCrc)
        throw PatchError("patch CRC mismatch: the patch is damaged (it says " + crcText(header.patchCrc)
                         + ", its bytes give " + crcText(actualCrc) + ")");
    header.sourceCrc = littleEndian32(patch.last(ChecksumBytes).first(4));
    header.targetCrc = littleEndian32(patch.last(8).first(4));

    PatchCursor cursor(patch, patch.size() - ChecksumBytes, "runs into the checksums at the end of the patch");
    cursor.take(Magic.size());
    cursor.beginItem("source size");
    header.sourceSize = readNumber(cursor);
    cursor.beginItem("target size");
    header.targetSize = readNumber(cursor);
    if (header.targetSize > maxTargetSize)
        cursor.fail("says the target is " + bytesText(header.targetSize) + ", more than the "
                    + bytesText(maxTargetSize) + " a patch may make");
    cursor.beginItem("metadata");
    cursor.take(readNumber(cursor));
    layout.actionsStart = cursor.at();
    return layout;
}

const char *actionName(BpsAction action)
{
    switch (action) {
    case BpsAction::SourceRead: return "SourceRead";
    case BpsAction::TargetRead: return "TargetRead";
    case BpsAction::SourceCopy: return "SourceCopy";
    case BpsAction::TargetCopy: return "TargetCopy";
    }
    return "action";
}

// One action as read: what it writes at target byte output, and from where.
struct ActionStep
{
    BpsAction action;
    uint64_t output = 0;
    uint64_t length = 0;
    uint64_t from = 0;                  // SourceCopy, TargetCopy: the first byte read
    std::span<const uint8_t> literal{}; // TargetRead
};

// Reads every action in order and checks it against the source's size, the target
// written so far and the target's size; each checked action is handed to step.
template<typename Step>
void walkActions(const BpsLayout &layout, Step step)
{
    const BpsHeader &header = layout.header;
    PatchCursor cursor(layout.patch, layout.patch.size() - ChecksumBytes,
                       "runs into the checksums at the end of the patch");
    cursor.take(layout.actionsStart);
    uint64_t output = 0;
    uint64_t sourcePosition = 0;
    uint64_t targetPosition = 0;
    while (!cursor.atEnd()) {
        cursor.beginItem("action");
        const uint64_t word = readNumber(cursor);
        ActionStep action{BpsAction(word & 3u), output, (word >> 2) + 1};
        cursor.nameItem(actionName(action.action));
        if (action.length > header.targetSize - output)
            cursor.fail("writes " + bytesText(action.length) + " at target byte " + GroupedNumber(output)
                        + ", past the end of the target (" + bytesText(header.targetSize) + ")");
        switch (action.action) {
        case BpsAction::SourceRead:
            if (output + action.length > header.sourceSize)
                cursor.fail("reads past the end of the source (" + bytesText(header.sourceSize) + ")");
            break;
        case BpsAction::TargetRead:
            action.literal = cursor.take(action.length);
            break;
        case BpsAction::SourceCopy: {
            const auto from = moved(sourcePosition, readOffset(cursor), header.sourceSize);
            if (!from || action.length > header.sourceSize - *from)
                cursor.fail("reads outside the source (" + bytesText(header.sourceSize) + ")");
            action.from = *from;
            sourcePosition = *from + action.length;
            break;
        }
        case BpsAction::TargetCopy: {
            const auto from = moved(targetPosition, readOffset(cursor), output);
            if (!from || *from >= output)
                cursor.fail("reads target bytes not written before it");
            action.from = *from;
            targetPosition = *from + action.length;
            break;
        }
        }
        step(action);
        output += action.length;
    }
    if (output != header.targetSize)
        throw PatchError("the patch's actions make " + bytesText(output) + ", but its header says the target has "
                         + bytesText(header.targetSize));
}

void requireSource(const BpsHeader &header, std::span<const uint8_t> source)
{
    if (source.size() != header.sourceSize) {
        const uint64_t difference = std::max<uint64_t>(source.size(), header.sourceSize)
                                    - std::min<uint64_t>(source.size(), header.sourceSize);
        throw PatchError("source is " + bytesText(source.size()) + ", the patch was made for "
                         + GroupedNumber(header.sourceSize)
                         + (difference == CopierHeader ? ": a 512-byte copier header?" : ""));
    }
    const uint32_t crc = Crc32(source);
    if (crc != header.sourceCrc)
        throw PatchError("source CRC mismatch: the patch was made for another image (source CRC "
                         + crcText(header.sourceCrc) + ", this one's " + crcText(crc) + ")");
}

} // namespace

void AppendBpsNumber(std::vector<uint8_t> &patch, uint64_t value)
{
    for (;;) {
        const auto low = uint8_t(value & 0x7Fu);
        value >>= 7;
        if (value == 0) {
            patch.push_back(uint8_t(0x80u | low));
            return;
        }
        patch.push_back(low);
        --value;
    }
}

size_t BpsNumberSize(uint64_t value)
{
    size_t size = 1;
    for (value >>= 7; value != 0; value = (value - 1) >> 7)
        ++size;
    return size;
}

BpsHeader ReadBpsPatch(std::span<const uint8_t> patch, uint64_t maxTargetSize)
{
    const BpsLayout layout = readLayout(patch, maxTargetSize);
    walkActions(layout, [](const ActionStep &) {});
    return layout.header;
}

std::vector<uint8_t> ApplyBpsPatch(std::span<const uint8_t> patch, std::span<const uint8_t> source,
                                   uint64_t maxTargetSize)
{
    const BpsLayout layout = readLayout(patch, maxTargetSize);
    requireSource(layout.header, source);
    walkActions(layout, [](const ActionStep &) {});

    std::vector<uint8_t> target(size_t(layout.header.targetSize));
    walkActions(layout, [&](const ActionStep &step) {
        uint8_t *const out = target.data() + step.output;
        const auto length = size_t(step.length);
        switch (step.action) {
        case BpsAction::SourceRead:
            std::memcpy(out, source.data() + step.output, length);
            break;
        case BpsAction::TargetRead:
            std::memcpy(out, step.literal.data(), length);
            break;
        case BpsAction::SourceCopy:
            std::memcpy(out, source.data() + step.from, length);
            break;
        case BpsAction::TargetCopy:
            // Byte by byte where the copy overlaps what it writes: it repeats the bytes before it.
            if (step.from + step.length <= step.output)
                std::memcpy(out, target.data() + step.from, length);
            else
                for (size_t i = 0; i < length; ++i)
                    out[i] = target[size_t(step.from) + i];
            break;
        }
    });
    const uint32_t crc = Crc32(target);
    if (crc != layout.header.targetCrc)
        throw PatchError("target CRC mismatch: the patched image is not the one the patch was made to give (target CRC "
                         + crcText(layout.header.targetCrc) + ", the result's " + crcText(crc) + ")");
    return target;
}

} // namespace tamo
