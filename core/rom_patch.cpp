#include "core/rom_patch.h"

#include "core/rom_image.h"
#include "core/little_endian.h"

#include <algorithm>

namespace tamo {

namespace {

std::span<const uint8_t> bytesAt(const RomImage &rom, const RomWrite &write)
{
    return std::span<const uint8_t>(rom.bytes()).subspan(static_cast<size_t>(write.offset),
                                                         write.bytes.size());
}

} // namespace

RomPatch &RomPatch::write(int64_t offset, std::span<const uint8_t> bytes, std::string_view what)
{
    m_writes.push_back({offset, {bytes.begin(), bytes.end()}, std::string(what)});
    return *this;
}

RomPatch &RomPatch::writeByte(int64_t offset, uint32_t value, std::string_view what)
{
    return write(offset, LittleEndian<1>(value), what);
}

RomPatch &RomPatch::writeWord(int64_t offset, uint32_t value, std::string_view what)
{
    return write(offset, LittleEndian<2>(value), what);
}

RomPatch &RomPatch::writeDword(int64_t offset, uint32_t value, std::string_view what)
{
    return write(offset, LittleEndian<4>(value), what);
}

RomPatch &RomPatch::append(const RomPatch &other)
{
    m_writes.insert(m_writes.end(), other.m_writes.begin(), other.m_writes.end());
    return *this;
}

void RomPatch::requireInside(const RomImage &rom) const
{
    for (const RomWrite &write : m_writes)
        rom.requireRange(write.offset, static_cast<int64_t>(write.bytes.size()), write.what);
}

bool RomPatch::changes(const RomImage &rom) const
{
    requireInside(rom);
    if (m_writes.empty())
        return false;
    // Writes in order that never overlap (a difference patch, a single write) are each
    // compared with the bytes they cover.
    const bool apart = std::adjacent_find(m_writes.begin(), m_writes.end(), [](const RomWrite &a, const RomWrite &b) {
                           return b.offset < a.offset + int64_t(a.bytes.size());
                       }) == m_writes.end();
    if (apart)
        return std::any_of(m_writes.begin(), m_writes.end(), [&](const RomWrite &write) {
            return !std::ranges::equal(write.bytes, bytesAt(rom, write));
        });
    // Otherwise later writes win where writes overlap: they are made in order on a copy of
    // the span they touch, which is then compared with the image.
    int64_t begin = m_writes.front().offset;
    int64_t end = begin;
    for (const RomWrite &write : m_writes) {
        begin = std::min(begin, write.offset);
        end = std::max(end, write.offset + int64_t(write.bytes.size()));
    }
    const auto span = std::span<const uint8_t>(rom.bytes()).subspan(size_t(begin), size_t(end - begin));
    std::vector<uint8_t> result(span.begin(), span.end());
    for (const RomWrite &write : m_writes)
        std::copy(write.bytes.begin(), write.bytes.end(), result.begin() + (write.offset - begin));
    return !std::equal(result.begin(), result.end(), span.begin());
}

RomPatch RomPatch::inverse(const RomImage &rom) const
{
    requireInside(rom);
    // In reverse order, so that where writes overlap the oldest bytes are put back last.
    RomPatch undo;
    for (auto write = m_writes.rbegin(); write != m_writes.rend(); ++write)
        undo.write(write->offset, bytesAt(rom, *write), write->what);
    return undo;
}

RomPatch RomPatch::applyTo(RomImage &rom) const
{
    requireInside(rom);
    // Each write keeps the bytes it replaces just before it makes them, a stretch at a
    // time, so that they are read while at hand rather than in a pass of their own. Undone
    // in reverse order, the kept writes put back every byte, where writes overlap too.
    constexpr size_t Stretch = size_t(1) << 16;
    RomPatch undo;
    undo.m_writes.reserve(m_writes.size());
    for (const RomWrite &write : m_writes) {
        RomWrite &kept = undo.m_writes.emplace_back(RomWrite{write.offset, {}, write.what});
        kept.bytes.reserve(write.bytes.size());
        for (size_t at = 0; at < write.bytes.size(); at += Stretch) {
            const auto stretch = std::span<const uint8_t>(write.bytes).subspan(at, std::min(Stretch, write.bytes.size() - at));
            const int64_t offset = write.offset + int64_t(at);
            const auto replaced = std::span<const uint8_t>(rom.bytes()).subspan(size_t(offset), stretch.size());
            kept.bytes.insert(kept.bytes.end(), replaced.begin(), replaced.end());
            rom.write(offset, stretch, write.what);
        }
    }
    std::reverse(undo.m_writes.begin(), undo.m_writes.end());
    return undo;
}

void RomPatch::writeTo(RomImage &rom) const
{
    requireInside(rom);
    for (const RomWrite &write : m_writes)
        rom.write(write.offset, write.bytes, write.what);
}

} // namespace tamo
