#include "view/chip_palette.h"

#include "view/canvas.h"
#include "view/map_pen.h"
#include "view/tile_word.h"

namespace tamo {

bool DrawChipPalette(bool romLoaded, const Picture *chipPicture, const Pen &pen, Canvas &palette)
{
    if (!romLoaded)
        return false;
    const int height = chipPicture ? chipPicture->height() : 0;
    palette.resize(PaletteWidth, height);
    // Only whole rows are offered; a partial last row stays undrawn.
    const int rows = height / CellPixels;
    // Row by row: the cells never overlap, so the order leaves the same picture, and both
    // bitmaps are then read and written along their lines.
    try {
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < ChipsPerRow; ++column) {
                const int32_t chip = row * ChipsPerRow + column;
                const PicturePoint source = ChipSource(chip, pen.HFlip, pen.VFlip);
                const CopyMode mode = chip == pen.CurrentChip ? CopyMode::Inverted : CopyMode::Plain;
                palette.copyCell(*chipPicture, source.x, source.y, column * CellPixels,
                                 row * CellPixels, mode);
            }
        }
    } catch (const OutOfResources &) {
        return false;
    }
    return true;
}

int32_t PaletteChipAt(int x, int y)
{
    return x / CellPixels + (y / CellPixels) * ChipsPerRow;
}

} // namespace tamo
