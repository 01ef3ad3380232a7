#pragma once

#include "view/canvas.h"

#include <cstdint>

namespace tamo {

// A tile word of the tile map: bits 0-13 the chip number, bit 14 horizontal flip,
// bit 15 vertical flip.
constexpr uint16_t ChipNumberMask = 0x3FFF;
constexpr uint16_t HFlipBit = 0x4000;
constexpr uint16_t VFlipBit = 0x8000;

// The chip bitmap holds four orientation blocks of 512 pixels side by side (unchanged,
// mirrored left-right, mirrored top-bottom, both), 16 chips to a row in each.
constexpr int ChipsPerRow = 16;
constexpr int OrientationBlockWidth = 512;

// Top-left corner of the chip's 32 x 32 cell in the orientation block of the flips.
PicturePoint ChipSource(int32_t chip, bool hFlip, bool vFlip);
// Top-left corner of the tile word's chip in the chip bitmap.
PicturePoint TileSource(uint16_t tileWord);

} // namespace tamo
