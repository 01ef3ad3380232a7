#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace tamo {

// The whole ROM file as one byte array. Offset 0 is the file's first byte; multi-byte
// values are little-endian. Every access is checked: one outside the image throws a
// RomRangeError naming the offset, what was being read or written ("what") and the
// image size, and changes nothing. Every change goes through write() or trade().
class RomImage
{
public:
    RomImage() = default;
    explicit RomImage(std::vector<uint8_t> bytes);

    // Reads the file whole; throws RomError when it cannot be read.
    static RomImage open(const std::filesystem::path &path);
    // Writes the whole image over the file at position 0, keeping any bytes of the file
    // beyond the image, without ever leaving a half-written file (see file_system.h).
    void save(const std::filesystem::path &path) const;

    int32_t size() const { return static_cast<int32_t>(m_bytes.size()); }
    bool isEmpty() const { return m_bytes.empty(); }
    const std::vector<uint8_t> &bytes() const { return m_bytes; }

    bool contains(int64_t offset, int64_t length) const;

    uint8_t readByte(int64_t offset, std::string_view what) const;
    uint16_t readWord(int64_t offset, std::string_view what) const;
    uint32_t readLong(int64_t offset, std::string_view what) const;  // 24 bits
    uint32_t readDword(int64_t offset, std::string_view what) const; // 32 bits

    // The one write path of the program: all bytes or none.
    void write(int64_t offset, std::span<const uint8_t> data, std::string_view what);
    void writeByte(int64_t offset, uint32_t value, std::string_view what);   // low 8 bits
    void writeWord(int64_t offset, uint32_t value, std::string_view what);   // low 16 bits
    void writeDword(int64_t offset, uint32_t value, std::string_view what);  // 32 bits
    // The image and bytes, which must be as many, trade places: a change of the whole image
    // is then made and undone without copying it. Throws RomError for another size.
    void trade(std::vector<uint8_t> &bytes, std::string_view what);

    // Throws the RomRangeError for [offset, offset + length) unless contains() holds.
    void requireRange(int64_t offset, int64_t length, std::string_view what) const;

private:
    uint32_t readLittleEndian(int64_t offset, int length, std::string_view what) const;

    std::vector<uint8_t> m_bytes;
};

} // namespace tamo
