#include "view/chip_palette.h"

#include "view/canvas.h"
#include "view/map_pen.h"
#include "view/tile_word.h"

#include <array>
#include <optional>

namespace tamo {

bool DrawChipPalette(bool romLoaded, const Picture *chipPicture, const Pen &pen, Canvas &palette)
{
    if (!romLoaded)
        return false;
    const int height = chipPicture ? chipPicture->height() : 0;
    palette.resize(PaletteWidth, height);
    // Only whole rows are offered; a partial last row stays undrawn.
    const int rows = height / CellPixels;
    // A whole row at a time: the cells never overlap, so the order leaves the same picture,
    // and both bitmaps are then read and written along their lines. The pen's chip is
    // copied again over its plain copy, inverted.
    std::array<std::optional<PicturePoint>, ChipsPerRow> sources;
    try {
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < ChipsPerRow; ++column)
                sources[column] = ChipSource(row * ChipsPerRow + column, pen.HFlip, pen.VFlip);
            palette.copyCellRow(chipPicture, sources, 0, row * CellPixels);
            const int32_t penColumn = pen.CurrentChip - row * ChipsPerRow;
            if (penColumn >= 0 && penColumn < ChipsPerRow) {
                const PicturePoint source = *sources[penColumn];
                palette.copyCell(*chipPicture, source.x, source.y, penColumn * CellPixels,
                                 row * CellPixels, CopyMode::Inverted);
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
