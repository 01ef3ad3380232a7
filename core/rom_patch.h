#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tamo {

class RomImage;

// One run of bytes to put at an offset of the ROM image; what names it in messages
// ("Sprite record", "tile map cell").
struct RomWrite
{
    int64_t offset = 0;
    std::vector<uint8_t> bytes;
    std::string what;

    friend bool operator==(const RomWrite &, const RomWrite &) = default;
};

// A change of the ROM image as a list of writes, applied in order, all or nothing: every
// write is checked against the image before the first byte changes. Applying gives back
// the patch that undoes it. Every edit of the image is made as one of these.
class RomPatch
{
public:
    RomPatch() = default;

    RomPatch &write(int64_t offset, std::span<const uint8_t> bytes, std::string_view what);
    RomPatch &writeByte(int64_t offset, uint32_t value, std::string_view what);  // low 8 bits
    RomPatch &writeWord(int64_t offset, uint32_t value, std::string_view what);  // low 16 bits
    RomPatch &writeDword(int64_t offset, uint32_t value, std::string_view what); // 32 bits
    // The other patch's writes after these.
    RomPatch &append(const RomPatch &other);

    const std::vector<RomWrite> &writes() const { return m_writes; }
    bool isEmpty() const { return m_writes.empty(); }

    // Throws the RomRangeError of the first write that lies outside the image.
    void requireInside(const RomImage &rom) const;
    // Whether applying would change any byte of the image (the writes must lie inside).
    bool changes(const RomImage &rom) const;
    // The patch that puts back what the image holds now where this one writes: applied
    // after this one, it restores every byte.
    RomPatch inverse(const RomImage &rom) const;
    // Checks every write, then makes them; returns the patch that undoes them (as
    // inverse(rom) before would).
    RomPatch applyTo(RomImage &rom) const;
    // The same writes where the bytes they replace are known already (a step of a history
    // made again): nothing is kept of them.
    void writeTo(RomImage &rom) const;

private:
    std::vector<RomWrite> m_writes;
};

} // namespace tamo
