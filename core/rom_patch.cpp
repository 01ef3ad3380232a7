#include "core/rom_patch.h"

#include "core/rom_image.h"
#include "core/little_endian.h"

#include <algorithm>
#include <array>
#include <map>

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
    // Later writes win where writes overlap: the bytes the patch leaves are gathered first.
    std::map<int64_t, uint8_t> result;
    for (const RomWrite &write : m_writes) {
        for (size_t i = 0; i < write.bytes.size(); ++i)
            result[write.offset + int64_t(i)] = write.bytes[i];
    }
    return std::any_of(result.begin(), result.end(), [&](const auto &byte) {
        return rom.bytes()[static_cast<size_t>(byte.first)] != byte.second;
    });
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
    RomPatch undo = inverse(rom);
    for (const RomWrite &write : m_writes)
        rom.write(write.offset, write.bytes, write.what);
    return undo;
}

} // namespace tamo
