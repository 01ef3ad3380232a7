#pragma once

#include "view/object_marks.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class MapSelection;
class QAction;
class QWidget;
class RomDocument;

namespace tamo {
class IniFile;
struct OffsetTable;
struct StageScene;
} // namespace tamo

// The map's "Move objects" mode: a left press on a mark selects its object, dragging moves
// it, and the arrow keys nudge the selected one. Each drag is one step of the document's
// history; nudges of one object in a row make one step.
class ObjectMover
{
public:
    ObjectMover(RomDocument &document, MapSelection &selection);

    // Positions are stage image pixels; the scene is the stage shown.
    void press(const tamo::StageScene &scene, int x, int y);
    void move(const tamo::StageScene &scene, int x, int y, bool snap);
    void release(const tamo::StageScene &scene, const tamo::OffsetTable &offsets);
    // Moves the selected object, if any, by dx, dy pixels (right and down positive).
    void nudge(const tamo::StageScene &scene, const tamo::OffsetTable &offsets, int dx, int dy);

    // Where the mark being dragged stands now.
    std::optional<tamo::ObjectMark> dragged() const;

private:
    void moveObject(const tamo::StageScene &scene, const tamo::OffsetTable &offsets,
                    const tamo::ObjectMark &to, uint64_t mergeKey);

    RomDocument &m_document;
    MapSelection &m_selection;
    std::optional<tamo::ObjectDrag> m_drag;
    // The object the last nudges moved, and the key that makes them one step.
    std::optional<tamo::MapObject> m_nudged;
    uint64_t m_nudgeKey = 0;
};

// "Sprite #3", "Camera #0", "Start": what a step that moves the object is named after.
QString ObjectName(const tamo::MapObject &object);

// The line the sprite editor shows for the sprite whose mark is on top at image pixel
// (x, y); empty where no sprite mark is.
QString SpriteMarkTip(const tamo::StageScene &scene, const tamo::IniFile &spriteIni, int x, int y);

// The arrow keys as actions of the window that move the selected object one pixel, or
// eight with Shift; they start disabled, and the keys of a disabled action reach the
// focused control as before.
QList<QAction *> AddNudgeActions(QWidget *window, const std::function<void(int dx, int dy)> &nudge);
