#pragma once

#include "core/offset_table.h"
#include "core/rom_image.h"

#include <cstdint>
#include <vector>

namespace tamo::test {

// A small ROM image for tests: every table of the offset table placed at a low offset,
// so that a few kilobytes hold a whole stage. Bytes are poked directly, not through the
// code under test.
struct TestRom
{
    std::vector<uint8_t> bytes;
    OffsetTable offsets;

    explicit TestRom(size_t size = 0x4000)
        : bytes(size, 0)
    {
        offsets.LevelFunc = 0x0100;
        offsets.TileMap = 0x0500;
        offsets.Banana = 0x0600;
        offsets.FG = 0x0700;
        offsets.BG = 0x0800;
        offsets.Music = 0x0900;
        offsets.Darkness = 0x0A00;
        offsets.Camera = 0x0E00;
        offsets.StartPoint = 0x0F00;
        offsets.Sprite = 0x1300;
        offsets.StartAction = 0x1400;
        offsets.BaseCamera = 0x1000;
        offsets.BaseSprite = 0x2000;
        offsets.Banana2 = 0x1500;
    }

    void byte(int64_t at, uint8_t value) { bytes.at(static_cast<size_t>(at)) = value; }
    void word(int64_t at, uint16_t value)
    {
        byte(at, static_cast<uint8_t>(value));
        byte(at + 1, static_cast<uint8_t>(value >> 8));
    }
    void long24(int64_t at, uint32_t value)
    {
        word(at, static_cast<uint16_t>(value));
        byte(at + 2, static_cast<uint8_t>(value >> 16));
    }
    uint16_t wordAt(int64_t at) const
    {
        return static_cast<uint16_t>(bytes.at(static_cast<size_t>(at)) | bytes.at(static_cast<size_t>(at) + 1) << 8);
    }

    RomImage image() const { return RomImage(bytes); }
};

// An image whose byte i holds i (mod 256).
inline RomImage CountingRom(size_t size)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i);
    return RomImage(bytes);
}

} // namespace tamo::test
