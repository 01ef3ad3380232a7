#pragma once

#include <cstdint>
#include <string>

namespace tamo {

// The chip the left button paints, its flips, and whether a stroke is under way.
struct Pen
{
    int32_t CurrentChip = 0;
    bool HFlip = false;
    bool VFlip = false;
    bool Painting = false;
};

// CurrentChip with bit 14 for HFlip and bit 15 for VFlip, cut to 16 bits.
uint16_t PenTileWord(const Pen &pen);
// Chip 0 without flips; Painting is left as it is.
void ResetPen(Pen &pen);

// The status bar texts (UTF-8): "X:12,Y:3" for the cell panel, and for the pen panel
// "現在のチップ:%04X" followed by " 横反転" and " 縦反転" for the flips that are on.
std::string CellStatusText(int32_t column, int32_t row);
std::string PenStatusText(const Pen &pen);

} // namespace tamo
