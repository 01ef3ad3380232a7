#include "view/stage_marks.h"

#include "core/integer_syntax.h"
#include "core/object_lists.h"
#include "core/stage.h"
#include "view/object_marks.h"
#include "view/stage_scene.h"

#include <string>

namespace tamo {

namespace {

constexpr int LabelInset = 4;
constexpr int SecondLabelTop = 16;

std::string indexLabel(int index)
{
    return "#" + std::to_string(index);
}

TextStyle labelStyle(Rgb color)
{
    return {LabelPointSize, color, Black};
}

// The mark cell is copied opaque over the tiles; a mark bitmap too small to hold it
// leaves the tiles as they are.
void drawMarkCell(const StageScene &scene, MarkCell cell, int left, int top)
{
    const Picture *marks = scene.markPicture;
    const int sourceX = static_cast<int>(cell) * CellPixels;
    if (marks && sourceX + CellPixels <= marks->width() && CellPixels <= marks->height())
        scene.image.copyCell(*marks, sourceX, 0, left, top, CopyMode::Plain);
}

void drawLabel(const StageScene &scene, int left, int top, int line, const std::string &text,
               Rgb color)
{
    scene.image.drawText(left + LabelInset, top + (line == 0 ? LabelInset : SecondLabelTop), text,
                         labelStyle(color));
}

void drawSprites(const StageScene &scene)
{
    const std::vector<SpriteRecord> sprites = ReadSpriteList(scene.rom, scene.stage.SpriteListOffset);
    for (int index = 0; index < static_cast<int>(sprites.size()); ++index) {
        const SpriteRecord &sprite = sprites[index];
        const bool paramOne = sprite.Param == 1;
        const Rgb color = paramOne ? SpriteLabelColor : OtherSpriteLabelColor;
        const int left = MarkLeft(scene.stage, sprite.X);
        const int top = MarkTop(scene.stage, ObjectKind::Sprite, sprite.Y);
        drawMarkCell(scene, paramOne ? MarkCell::Sprite : MarkCell::OtherSprite, left, top);
        drawLabel(scene, left, top, 0, indexLabel(index), color);
        drawLabel(scene, left, top, 1, hexText(static_cast<uint32_t>(sprite.Type), 4), color);
    }
}

void drawCameras(const StageScene &scene)
{
    const std::vector<CameraRecord> cameras = ReadCameraList(scene.rom, scene.stage.CameraBlockOffset);
    for (int index = 0; index < static_cast<int>(cameras.size()); ++index) {
        const int left = MarkLeft(scene.stage, cameras[index].X);
        const int top = MarkTop(scene.stage, ObjectKind::Camera, cameras[index].Y);
        drawMarkCell(scene, MarkCell::Camera, left, top);
        drawLabel(scene, left, top, 0, indexLabel(index), CameraLabelColor);
    }
}

void drawStart(const StageScene &scene)
{
    const int left = MarkLeft(scene.stage, scene.stage.StartX);
    const int top = MarkTop(scene.stage, ObjectKind::Start, scene.stage.StartY);
    drawMarkCell(scene, MarkCell::Start, left, top);
    drawLabel(scene, left, top, 0, "Start", StartLabelColor);
}

// A pass that runs out of drawing resources stops where it is; the next pass still runs.
template<typename Pass>
void runPass(const StageScene &scene, ObjectKind kind, Pass pass)
{
    if (!MarksShown(scene, kind))
        return;
    try {
        pass(scene);
    } catch (const OutOfResources &) {
    }
}

} // namespace

void DrawSpriteMarks(const StageScene &scene)
{
    runPass(scene, ObjectKind::Sprite, drawSprites);
}

void DrawCameraMarks(const StageScene &scene)
{
    runPass(scene, ObjectKind::Camera, drawCameras);
}

void DrawStartMark(const StageScene &scene)
{
    runPass(scene, ObjectKind::Start, drawStart);
}

void DrawMarks(const StageScene &scene)
{
    DrawSpriteMarks(scene);
    DrawCameraMarks(scene);
    DrawStartMark(scene);
}

} // namespace tamo
