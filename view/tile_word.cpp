#include "view/tile_word.h"

#include "view/canvas.h"

namespace tamo {

PicturePoint ChipSource(int32_t chip, bool hFlip, bool vFlip)
{
    const int block = (hFlip ? 1 : 0) + (vFlip ? 2 : 0);
    return {(chip % ChipsPerRow) * CellPixels + block * OrientationBlockWidth,
            (chip / ChipsPerRow) * CellPixels};
}

PicturePoint TileSource(uint16_t tileWord)
{
    return ChipSource(tileWord & ChipNumberMask, tileWord & HFlipBit, tileWord & VFlipBit);
}

} // namespace tamo
