#pragma once

#include <QImage>

#include <cstdint>

namespace tamo::cli {

constexpr int ChipPictureWidth = 2048;
constexpr int ChipBlockWidth = 512;
constexpr int ChipsPerRow = 16;

// The chip bitmap of a demo tilemap: DemoChipCount chips in four orientation blocks
// (unchanged, mirrored left-right, top-bottom, both), each chip mirrored in its own cell.
QImage demoChipPicture(int32_t tilemap);

// The four 32 x 32 marks: sprite with Param 1, start point, camera, other sprite.
QImage demoMarkPicture();

} // namespace tamo::cli
