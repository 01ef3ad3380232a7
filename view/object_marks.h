#pragma once

#include "core/map_object.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tamo {

struct Stage;
struct StageScene;

// Where an object's 32 x 32 mark lies on the stage image: its left edge is X less
// TilemapStart (not the start of its column); sprite and start-point Y count upward from
// the bottom of the map, camera Y downward from the top.
int MarkLeft(const Stage &stage, int32_t x);
int MarkTop(const Stage &stage, ObjectKind kind, int32_t y);

// One mark on the map: the object, its X and Y as stored, and its corner on the image.
struct ObjectMark
{
    MapObject object;
    int32_t x = 0;
    int32_t y = 0;
    int left = 0;
    int top = 0;

    friend bool operator==(const ObjectMark &, const ObjectMark &) = default;
};

// Whether the map shows marks of that kind: its switch is on and the stage is of screen
// mode 0. What is drawn and what can be picked both follow this.
bool MarksShown(const StageScene &scene, ObjectKind kind);

// The mark of object at X and Y.
ObjectMark MarkOf(const Stage &stage, const MapObject &object, int32_t x, int32_t y);
// The marks of the stage in drawing order (sprites, then cameras, then the start point,
// each list in record order), only of the kinds switched on; none outside screen mode 0.
std::vector<ObjectMark> ObjectMarks(const StageScene &scene);
// The mark drawn on top at image pixel (x, y): the last in drawing order whose rectangle
// holds the pixel, inside the image only.
std::optional<ObjectMark> ObjectMarkAt(const StageScene &scene, int x, int y);
std::optional<ObjectMark> FindObjectMark(const StageScene &scene, const MapObject &object);

// The mark moved by dx, dy pixels on the image (down and right positive), its X and Y
// kept within 0..LargestPosition of its kind.
ObjectMark MovedMark(const Stage &stage, const ObjectMark &mark, int dx, int dy);

// A mark dragged with the mouse, from the press on it to the release.
class ObjectDrag
{
public:
    ObjectDrag(const ObjectMark &mark, int pressX, int pressY);

    // Follows the pointer at image pixel (x, y) in whole pixels; with snap the X and Y the
    // mark stands for become multiples of 8.
    void moveTo(const Stage &stage, int x, int y, bool snap);
    const ObjectMark &mark() const { return m_mark; }
    bool moved() const { return m_mark.x != m_start.x || m_mark.y != m_start.y; }

private:
    ObjectMark m_start;
    ObjectMark m_mark;
    int m_pressX;
    int m_pressY;
};

} // namespace tamo
