#pragma once

#include "core/offset_table.h"

#include <cstdint>
#include <span>
#include <vector>

// Stage data read straight from the ROM bytes by the layouts of the game's tables, for
// tests that must not take what they expect from the program's own decoders.
namespace tamo::test {

inline uint16_t wordAt(std::span<const uint8_t> rom, int64_t at)
{
    return uint16_t(rom[size_t(at)] | rom[size_t(at) + 1] << 8);
}

// The sprite list: a word of the pointer table plus the base.
inline int64_t spriteListAt(std::span<const uint8_t> rom, const OffsetTable &offsets, int level)
{
    return wordAt(rom, offsets.Sprite + 2 * int64_t(level)) + int64_t(offsets.BaseSprite);
}

// The camera block: a word of the pointer table plus the base, four bytes early.
inline int64_t cameraBlockAt(std::span<const uint8_t> rom, const OffsetTable &offsets, int level)
{
    return wordAt(rom, offsets.Camera + 2 * int64_t(level)) + int64_t(offsets.BaseCamera) - 4;
}

// The banana list: a distance from Banana2, found through two tables of bytes.
inline int64_t bananaListAt(std::span<const uint8_t> rom, const OffsetTable &offsets, int level)
{
    const uint8_t index = rom[size_t(offsets.Banana + level)];
    return int64_t(offsets.Banana2) + rom[size_t(offsets.Banana2 + index)];
}

struct RawSprite
{
    uint16_t param, x, y, type;
};

// Records of 8 bytes (Param, X, Y, Type) up to the first whose Param is 0.
inline std::vector<RawSprite> spritesAt(std::span<const uint8_t> rom, int64_t list)
{
    std::vector<RawSprite> sprites;
    for (int64_t at = list; at + 8 <= int64_t(rom.size()) && wordAt(rom, at) != 0; at += 8)
        sprites.push_back({wordAt(rom, at), wordAt(rom, at + 2), wordAt(rom, at + 4), wordAt(rom, at + 6)});
    return sprites;
}

struct RawCamera
{
    uint16_t x, y;
};

// Records of 4 bytes (X, Y) from the block's ninth byte up to the first with 0xFFFF in either.
inline std::vector<RawCamera> camerasAt(std::span<const uint8_t> rom, int64_t block)
{
    std::vector<RawCamera> cameras;
    for (int64_t at = block + 8; at + 4 <= int64_t(rom.size()); at += 4) {
        const RawCamera camera{wordAt(rom, at), wordAt(rom, at + 2)};
        if (camera.x == 0xFFFF || camera.y == 0xFFFF)
            break;
        cameras.push_back(camera);
    }
    return cameras;
}

// Records of 4 bytes up to the first whose first byte (Group) is 0.
inline int bananaCountAt(std::span<const uint8_t> rom, int64_t list)
{
    int count = 0;
    for (int64_t at = list; at < int64_t(rom.size()) && rom[size_t(at)] != 0; at += 4)
        ++count;
    return count;
}

} // namespace tamo::test
