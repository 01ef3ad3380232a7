#include "core/rom_image.h"

#include "core/file_system.h"
#include "core/integer_syntax.h"
#include "core/little_endian.h"
#include "core/rom_error.h"

#include <string>

namespace tamo {

RomImage::RomImage(std::vector<uint8_t> bytes)
    : m_bytes(std::move(bytes))
{
    if (m_bytes.size() > static_cast<size_t>(INT32_MAX))
        throw RomError("The ROM file is larger than 2 GiB");
}

RomImage RomImage::open(const std::filesystem::path &path)
{
    return RomImage(fs::readWholeFile(path));
}

void RomImage::save(const std::filesystem::path &path) const
{
    fs::overwriteFileStart(path, m_bytes);
}

bool RomImage::contains(int64_t offset, int64_t length) const
{
    return offset >= 0 && length >= 0 && offset <= int64_t(m_bytes.size())
        && length <= int64_t(m_bytes.size()) - offset;
}

void RomImage::requireRange(int64_t offset, int64_t length, std::string_view what) const
{
    if (contains(offset, length))
        return;
    // The offset as computed: one beyond 32 bits must not read as a smaller one.
    const std::string where = offset < 0 ? "-0x" + hexText(0 - static_cast<uint64_t>(offset), 6)
                                         : "0x" + hexText(static_cast<uint64_t>(offset), 6);
    throw RomRangeError(std::string(what) + ": offset " + where + " (" + std::to_string(length)
                        + (length == 1 ? " byte" : " bytes") + ") lies outside the ROM image of "
                        + std::to_string(m_bytes.size()) + " bytes");
}

uint32_t RomImage::readLittleEndian(int64_t offset, int length, std::string_view what) const
{
    requireRange(offset, length, what);
    uint32_t value = 0;
    for (int i = length - 1; i >= 0; --i)
        value = (value << 8) | m_bytes[static_cast<size_t>(offset + i)];
    return value;
}

uint8_t RomImage::readByte(int64_t offset, std::string_view what) const
{
    return static_cast<uint8_t>(readLittleEndian(offset, 1, what));
}

uint16_t RomImage::readWord(int64_t offset, std::string_view what) const
{
    return static_cast<uint16_t>(readLittleEndian(offset, 2, what));
}

uint32_t RomImage::readLong(int64_t offset, std::string_view what) const
{
    return readLittleEndian(offset, 3, what);
}

uint32_t RomImage::readDword(int64_t offset, std::string_view what) const
{
    return readLittleEndian(offset, 4, what);
}

void RomImage::write(int64_t offset, std::span<const uint8_t> data, std::string_view what)
{
    requireRange(offset, static_cast<int64_t>(data.size()), what);
    std::copy(data.begin(), data.end(), m_bytes.begin() + offset);
}

void RomImage::trade(std::vector<uint8_t> &bytes, std::string_view what)
{
    if (bytes.size() != m_bytes.size())
        throw ReplacementSizeError(what, bytes.size(), m_bytes.size());
    m_bytes.swap(bytes);
}

void RomImage::writeByte(int64_t offset, uint32_t value, std::string_view what)
{
    write(offset, LittleEndian<1>(value), what);
}

void RomImage::writeWord(int64_t offset, uint32_t value, std::string_view what)
{
    write(offset, LittleEndian<2>(value), what);
}

void RomImage::writeDword(int64_t offset, uint32_t value, std::string_view what)
{
    write(offset, LittleEndian<4>(value), what);
}

} // namespace tamo
