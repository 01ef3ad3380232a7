#include "view/object_marks.h"

#include "core/object_lists.h"
#include "core/stage.h"
#include "view/canvas.h"
#include "view/stage_scene.h"

#include <algorithm>

namespace tamo {

namespace {

constexpr int SnapStep = 8;

// Sprite and start-point Y count upward from the bottom of the map.
bool countsUpward(ObjectKind kind)
{
    return kind != ObjectKind::Camera;
}

int32_t withinRange(ObjectKind kind, int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, LargestPosition(kind)));
}

int32_t snapped(int32_t value)
{
    return (value + SnapStep / 2) / SnapStep * SnapStep;
}

bool holds(const ObjectMark &mark, int x, int y)
{
    return x >= mark.left && x < mark.left + CellPixels && y >= mark.top && y < mark.top + CellPixels;
}

} // namespace

int MarkLeft(const Stage &stage, int32_t x)
{
    return x - stage.TilemapStart;
}

int MarkTop(const Stage &stage, ObjectKind kind, int32_t y)
{
    return countsUpward(kind) ? stage.MapHeight * CellPixels - y - CellPixels : y - CellPixels;
}

ObjectMark MarkOf(const Stage &stage, const MapObject &object, int32_t x, int32_t y)
{
    return {object, x, y, MarkLeft(stage, x), MarkTop(stage, object.kind, y)};
}

bool MarksShown(const StageScene &scene, ObjectKind kind)
{
    if (scene.stage.ScreenMode != 0)
        return false;
    switch (kind) {
    case ObjectKind::Sprite: return scene.switches.ShowSpriteMarks;
    case ObjectKind::Camera: return scene.switches.ShowCameraMarks;
    case ObjectKind::Start: break;
    }
    return scene.switches.ShowStartMark;
}

std::vector<ObjectMark> ObjectMarks(const StageScene &scene)
{
    const Stage &stage = scene.stage;
    std::vector<ObjectMark> marks;
    if (MarksShown(scene, ObjectKind::Sprite)) {
        const std::vector<SpriteRecord> sprites = ReadSpriteList(scene.rom, stage.SpriteListOffset);
        for (int i = 0; i < int(sprites.size()); ++i)
            marks.push_back(MarkOf(stage, {ObjectKind::Sprite, i}, sprites[i].X, sprites[i].Y));
    }
    if (MarksShown(scene, ObjectKind::Camera)) {
        const std::vector<CameraRecord> cameras = ReadCameraList(scene.rom, stage.CameraBlockOffset);
        for (int i = 0; i < int(cameras.size()); ++i)
            marks.push_back(MarkOf(stage, {ObjectKind::Camera, i}, cameras[i].X, cameras[i].Y));
    }
    if (MarksShown(scene, ObjectKind::Start))
        marks.push_back(MarkOf(stage, {ObjectKind::Start, 0}, stage.StartX, stage.StartY));
    return marks;
}

std::optional<ObjectMark> ObjectMarkAt(const StageScene &scene, int x, int y)
{
    if (x < 0 || y < 0 || x >= scene.image.width() || y >= scene.image.height())
        return std::nullopt;
    const std::vector<ObjectMark> marks = ObjectMarks(scene);
    const auto top = std::find_if(marks.rbegin(), marks.rend(), [&](const ObjectMark &mark) { return holds(mark, x, y); });
    if (top == marks.rend())
        return std::nullopt;
    return *top;
}

std::optional<ObjectMark> FindObjectMark(const StageScene &scene, const MapObject &object)
{
    for (const ObjectMark &mark : ObjectMarks(scene)) {
        if (mark.object == object)
            return mark;
    }
    return std::nullopt;
}

ObjectMark MovedMark(const Stage &stage, const ObjectMark &mark, int dx, int dy)
{
    const ObjectKind kind = mark.object.kind;
    const int32_t x = withinRange(kind, int64_t(mark.x) + dx);
    const int32_t y = withinRange(kind, int64_t(mark.y) + (countsUpward(kind) ? -dy : dy));
    return MarkOf(stage, mark.object, x, y);
}

ObjectDrag::ObjectDrag(const ObjectMark &mark, int pressX, int pressY)
    : m_start(mark)
    , m_mark(mark)
    , m_pressX(pressX)
    , m_pressY(pressY)
{
}

void ObjectDrag::moveTo(const Stage &stage, int x, int y, bool snap)
{
    m_mark = MovedMark(stage, m_start, x - m_pressX, y - m_pressY);
    if (snap) {
        const ObjectKind kind = m_mark.object.kind;
        m_mark = MarkOf(stage, m_mark.object, withinRange(kind, snapped(m_mark.x)),
                        withinRange(kind, snapped(m_mark.y)));
    }
}

} // namespace tamo
