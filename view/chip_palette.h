#pragma once

#include <cstdint>

namespace tamo {

class Canvas;
class Picture;
struct Pen;

constexpr int PaletteWidth = 512;

// Draws the chip window's palette: the orientation block of the pen's flips, 16 chips to
// a row, the pen's chip inverted. The palette is resized to 512 x the chip bitmap's height
// (0 without a chip bitmap) and drawn from a fresh bitmap. Returns whether the palette is
// to be shown: false when no ROM is open (nothing is drawn) or when the system ran out of
// drawing resources (drawing stopped at that cell).
bool DrawChipPalette(bool romLoaded, const Picture *chipPicture, const Pen &pen, Canvas &palette);

// The chip a click at palette pixel (x, y) chooses.
int32_t PaletteChipAt(int x, int y);

} // namespace tamo
