#pragma once

namespace tamo {

class Canvas;
class Picture;
class RomImage;
struct Stage;

// The three overlay switches; all on by default.
struct MarkSwitches
{
    bool ShowSpriteMarks = true;
    bool ShowCameraMarks = true;
    bool ShowStartMark = true;
};

// Everything the stage image is drawn from, as references to the state its owner keeps.
struct StageScene
{
    const RomImage &rom;
    const Stage &stage;
    const Picture *chipPicture; // none before the first stage load or after a failed one
    const Picture *markPicture;
    MarkSwitches switches;
    Canvas &image;
};

} // namespace tamo
