#include "view/stage_renderer.h"

#include "core/rom_image.h"
#include "core/stage.h"
#include "view/canvas.h"
#include "view/stage_marks.h"
#include "view/stage_scene.h"
#include "view/tile_word.h"

#include <algorithm>

namespace tamo {

namespace {

bool holdsCell(const Picture *picture, PicturePoint source)
{
    return picture && source.x >= 0 && source.y >= 0
           && source.x + CellPixels <= picture->width()
           && source.y + CellPixels <= picture->height();
}

void drawCellOnce(const StageScene &scene, int32_t column, int32_t row)
{
    const int x = column * CellPixels;
    const int y = row * CellPixels;
    const int64_t offset = TileCellOffset(scene.stage, column, row);
    if (!scene.rom.contains(offset, 2)) {
        scene.image.fillCell(x, y);
        return;
    }
    const PicturePoint source = TileSource(scene.rom.readWord(offset, "tile map cell"));
    if (holdsCell(scene.chipPicture, source))
        scene.image.copyCell(*scene.chipPicture, source.x, source.y, x, y, CopyMode::Plain);
    else
        scene.image.fillCell(x, y);
}

// A stage image too large for one bitmap loses whole cells at its right edge until its
// bitmap can be made; an image of width 0 needs no bitmap.
void drawCellNarrowing(const StageScene &scene, int32_t column, int32_t row)
{
    for (;;) {
        try {
            drawCellOnce(scene, column, row);
            return;
        } catch (const OutOfResources &) {
            if (scene.image.width() <= 0)
                return;
            scene.image.resize(std::max(0, scene.image.width() - CellPixels), scene.image.height());
        }
    }
}

} // namespace

void DrawTileMap(const StageScene &scene)
{
    if (scene.stage.ScreenMode != 0)
        return;
    // Row by row: cells never overlap, so the order leaves the same picture, and a wide
    // stage image is then written along its lines rather than across them.
    for (int32_t row = 0; row < scene.stage.MapHeight; ++row) {
        for (int32_t column = 0; column < scene.stage.MapWidth; ++column)
            drawCellNarrowing(scene, column, row);
    }
}

void DrawCell(const StageScene &scene, int32_t column, int32_t row)
{
    if (scene.stage.ScreenMode != 0)
        return;
    drawCellNarrowing(scene, column, row);
}

void RedrawStage(const StageScene &scene)
{
    DrawTileMap(scene);
    DrawMarks(scene);
}

} // namespace tamo
