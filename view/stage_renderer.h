#pragma once

#include <cstdint>

namespace tamo {

struct StageScene;

// The tile pass: every cell of the map (screen mode 0 only). When the stage image's
// bitmap cannot be made, the image loses 32 pixels of width at a time until it can.
void DrawTileMap(const StageScene &scene);
// One cell, with the same narrowing retry. Cells whose tile word lies outside the ROM
// image, or whose chip lies outside the chip bitmap, show the plain background.
void DrawCell(const StageScene &scene, int32_t column, int32_t row);
// The one full redraw: tiles, then sprite marks, camera marks and the start mark.
void RedrawStage(const StageScene &scene);

} // namespace tamo
