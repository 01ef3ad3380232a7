#pragma once

#include "view/canvas.h"

namespace tamo {

struct StageScene;

// The mark bitmap's 32 x 32 cells, left to right along its top row.
enum class MarkCell {
    Sprite = 0,      // sprite whose Param is 1
    Start = 1,
    Camera = 2,
    OtherSprite = 3, // sprite with any other Param
};

constexpr Rgb SpriteLabelColor{255, 0, 0};
constexpr Rgb OtherSpriteLabelColor{255, 0, 255};
constexpr Rgb CameraLabelColor{0, 255, 0};
constexpr Rgb StartLabelColor{255, 255, 0};
constexpr int LabelPointSize = 8;

// Each pass draws nothing when its switch is off or the screen mode is not 0, and stops
// silently when the system runs out of drawing resources.
void DrawSpriteMarks(const StageScene &scene);
void DrawCameraMarks(const StageScene &scene);
void DrawStartMark(const StageScene &scene);
// The three passes in that order, so that the start mark lies on top.
void DrawMarks(const StageScene &scene);

} // namespace tamo
