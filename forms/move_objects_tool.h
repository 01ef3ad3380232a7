#pragma once

#include "forms/map_tool.h"
#include "view/object_marks.h"

#include <QString>

#include <cstdint>
#include <optional>

class StageImage;
class StageSession;

namespace tamo {
class IniFile;
struct StageScene;
} // namespace tamo

// "Move objects": a left press on a mark selects its object, dragging moves it, and the
// arrow keys nudge the selected one by a pixel, or eight with Shift. Each drag is one step
// of the history; nudges of one object in a row make one step. Whatever tool is in use,
// the selected object is framed on the map, and a sprite mark's tip is its line.
class MoveObjectsTool : public MapTool
{
    Q_OBJECT

public:
    MoveObjectsTool(StageSession &session, StageImage &view);

    ActionDefinition action() const override;
    void press(const MapPointer &pointer) override;
    void move(const MapPointer &pointer) override;
    void release(const MapPointer &pointer) override;
    bool takesKeys() const override;
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers) override;
    void activate() override;
    void deactivate() override;
    bool canEdit(MapEdit edit) const override;
    void edit(MapEdit edit) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::optional<tamo::ObjectMark> selectedMark();
    // The frame of the selected object, and the dragged mark's picture in it.
    void showSelectedObject();
    void nudge(int dx, int dy);
    void moveObject(const tamo::ObjectMark &to, uint64_t mergeKey);

    StageSession &m_session;
    StageImage &m_view;
    bool m_active = false;
    bool m_takesKeys = false;
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
