#include "view/canvas.h"

namespace tamo {

void Canvas::copyCellRow(const Picture *source, std::span<const std::optional<PicturePoint>> cells,
                         int x, int y)
{
    for (const std::optional<PicturePoint> &cell : cells) {
        if (cell && source)
            copyCell(*source, cell->x, cell->y, x, y, CopyMode::Plain);
        else
            fillCell(x, y);
        x += CellPixels;
    }
}

} // namespace tamo
