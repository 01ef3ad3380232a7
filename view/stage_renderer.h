#pragma once

#include "core/stage.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tamo {

class Canvas;
class Picture;
class RomPatch;
struct PicturePoint;
struct StageScene;
struct TileBlock;

// The corner of the tile word's chip in the chip bitmap; none when the chip lies outside it.
std::optional<PicturePoint> ChipCorner(const Picture *chipPicture, uint16_t word);

// The tile pass: every cell of the map (screen mode 0 only). When the stage image's
// bitmap cannot be made, the image loses 32 pixels of width at a time until it can.
void DrawTileMap(const StageScene &scene);
// One cell, with the same narrowing retry. Cells whose tile word lies outside the ROM
// image, or whose chip lies outside the chip bitmap, show the plain background.
void DrawCell(const StageScene &scene, int32_t column, int32_t row);
// Draws again every cell of the stage image whose tile word the patch writes (a tile map
// is shared by the stages of one tilemap number, so a patch made in another stage may
// touch this one); returns those cells.
std::vector<CellPosition> DrawChangedCells(const StageScene &scene, const RomPatch &patch);
// The one full redraw: tiles, then sprite marks, camera marks and the start mark.
void RedrawStage(const StageScene &scene);
// The block's cells side by side from the canvas' top-left corner, as the map shows them.
void DrawTileBlock(Canvas &canvas, const Picture *chipPicture, const TileBlock &block);

} // namespace tamo
