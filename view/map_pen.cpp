#include "view/map_pen.h"

#include "core/integer_syntax.h"
#include "view/chip_palette.h"
#include "view/tile_word.h"

namespace tamo {

uint16_t PenTileWord(const Pen &pen)
{
    return static_cast<uint16_t>(pen.CurrentChip | (pen.HFlip ? HFlipBit : 0)
                                 | (pen.VFlip ? VFlipBit : 0));
}

TileBlock PenBlock(const Pen &pen)
{
    return pen.Stamp ? *pen.Stamp : SingleCellBlock(PenTileWord(pen));
}

void ResetPen(Pen &pen)
{
    pen.CurrentChip = 0;
    pen.HFlip = false;
    pen.VFlip = false;
    pen.Stamp.reset();
}

void FlipPen(Pen &pen, Flip flip)
{
    bool &on = flip == Flip::LeftRight ? pen.HFlip : pen.VFlip;
    on = !on;
    if (pen.Stamp)
        pen.Stamp = flip == Flip::LeftRight ? MirroredLeftRight(*pen.Stamp) : MirroredTopBottom(*pen.Stamp);
}

void ChoosePaletteChip(Pen &pen, int x, int y)
{
    pen.CurrentChip = PaletteChipAt(x, y);
    pen.Stamp.reset();
}

std::string CellStatusText(int32_t column, int32_t row)
{
    return "X:" + std::to_string(column) + ",Y:" + std::to_string(row);
}

std::optional<std::string> CellStatusText(const Stage &stage, std::optional<CellPosition> cell)
{
    if (!cell || cell->column < 0 || cell->column >= stage.MapWidth || cell->row < 0 || cell->row >= stage.MapHeight)
        return std::nullopt;
    return CellStatusText(cell->column, cell->row);
}

std::string PenStatusText(const Pen &pen)
{
    std::string text = pen.Stamp ? "Stamp " + std::to_string(pen.Stamp->columns) + " x "
                                       + std::to_string(pen.Stamp->rows)
                                 : "現在のチップ:" + hexText(static_cast<uint32_t>(pen.CurrentChip), 4);
    if (pen.HFlip)
        text += " 横反転";
    if (pen.VFlip)
        text += " 縦反転";
    return text;
}

} // namespace tamo
