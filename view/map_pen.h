#pragma once

#include "core/stage.h"
#include "view/tile_block.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tamo {

// The chip the left button paints, its flips, and whether a stroke is under way. A pen
// taken from several cells of the map is a stamp that paints them all at once; its flips
// then tell how the stamp was mirrored since it was taken.
struct Pen
{
    int32_t CurrentChip = 0;
    bool HFlip = false;
    bool VFlip = false;
    bool Painting = false;
    std::optional<TileBlock> Stamp;
};

// CurrentChip with bit 14 for HFlip and bit 15 for VFlip, cut to 16 bits.
uint16_t PenTileWord(const Pen &pen);
// What the pen puts down: its stamp, or the one cell of its tile word.
TileBlock PenBlock(const Pen &pen);
// Chip 0 without flips and without a stamp; Painting is left as it is.
void ResetPen(Pen &pen);

enum class Flip { LeftRight, TopBottom };
// Turns one of the pen's flips on or off; a stamp is mirrored with it.
void FlipPen(Pen &pen, Flip flip);
// The chip shown at pixel (x, y) of the chip palette becomes the pen's chip, one chip
// again; the flips stay as they are.
void ChoosePaletteChip(Pen &pen, int x, int y);

// The status bar texts (UTF-8): "X:12,Y:3" for the cell panel, and for the pen panel
// "現在のチップ:%04X" (or "Stamp 3 x 2" for a stamp) followed by " 横反転" and " 縦反転"
// for the flips that are on.
std::string CellStatusText(int32_t column, int32_t row);
std::string PenStatusText(const Pen &pen);
// The cell panel's text for a cell of the stage's map; none for no cell or one outside.
std::optional<std::string> CellStatusText(const Stage &stage, std::optional<CellPosition> cell);

} // namespace tamo
