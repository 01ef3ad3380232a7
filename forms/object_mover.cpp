#include "forms/object_mover.h"

#include "core/list_lines.h"
#include "core/object_lists.h"
#include "core/sprite_types.h"
#include "core/stage.h"
#include "document/rom_document.h"
#include "forms/common/shift_jis_text.h"
#include "forms/map_selection.h"
#include "view/stage_scene.h"

#include <QKeyEvent>

namespace {

EditScope scopeOf(tamo::ObjectKind kind)
{
    switch (kind) {
    case tamo::ObjectKind::Sprite: return EditScope::SpriteList;
    case tamo::ObjectKind::Camera: return EditScope::CameraList;
    case tamo::ObjectKind::Start: break;
    }
    return EditScope::StartPoint;
}

} // namespace

QString SpriteMarkTip(const tamo::StageScene &scene, const tamo::IniFile &spriteIni, int x, int y)
{
    const std::optional<tamo::ObjectMark> mark = tamo::ObjectMarkAt(scene, x, y);
    if (!mark || mark->object.kind != tamo::ObjectKind::Sprite)
        return {};
    const std::vector<tamo::SpriteRecord> sprites = tamo::ReadSpriteList(scene.rom, scene.stage.SpriteListOffset);
    const tamo::SpriteRecord &sprite = sprites.at(size_t(mark->object.index));
    const std::string name = tamo::SpriteTypeName(spriteIni, sprite.Param, sprite.Type);
    return tamo::fromShiftJis(tamo::SpriteLineText(mark->object.index, sprite, name));
}

std::optional<QPoint> ArrowKeyStep(const QKeyEvent &key)
{
    const int step = key.modifiers() & Qt::ShiftModifier ? 8 : 1;
    switch (key.key()) {
    case Qt::Key_Left: return QPoint(-step, 0);
    case Qt::Key_Right: return QPoint(step, 0);
    case Qt::Key_Up: return QPoint(0, -step);
    case Qt::Key_Down: return QPoint(0, step);
    default: return std::nullopt;
    }
}

QString ObjectName(const tamo::MapObject &object)
{
    switch (object.kind) {
    case tamo::ObjectKind::Sprite: return QStringLiteral("Sprite #%1").arg(object.index);
    case tamo::ObjectKind::Camera: return QStringLiteral("Camera #%1").arg(object.index);
    case tamo::ObjectKind::Start: break;
    }
    return QStringLiteral("Start");
}

ObjectMover::ObjectMover(RomDocument &document, MapSelection &selection)
    : m_document(document)
    , m_selection(selection)
{
}

void ObjectMover::press(const tamo::StageScene &scene, int x, int y)
{
    const std::optional<tamo::ObjectMark> mark = tamo::ObjectMarkAt(scene, x, y);
    m_selection.select(mark ? std::optional<tamo::MapObject>(mark->object) : std::nullopt);
    if (mark)
        m_drag.emplace(*mark, x, y);
}

void ObjectMover::move(const tamo::StageScene &scene, int x, int y, bool snap)
{
    if (m_drag)
        m_drag->moveTo(scene.stage, x, y, snap);
}

void ObjectMover::release(const tamo::StageScene &scene, const tamo::OffsetTable &offsets)
{
    if (!m_drag)
        return;
    const tamo::ObjectDrag drag = *m_drag;
    m_drag.reset();
    // A drag that ends where it started writes nothing.
    if (drag.moved())
        moveObject(scene, offsets, drag.mark(), 0);
}

bool ObjectMover::nudge(const tamo::StageScene &scene, const tamo::OffsetTable &offsets, int dx, int dy)
{
    const std::optional<tamo::MapObject> &object = m_selection.object();
    if (!object)
        return false;
    const std::optional<tamo::ObjectMark> mark = tamo::FindObjectMark(scene, *object);
    if (!mark)
        return true;
    if (m_nudged != object) {
        m_nudged = object;
        m_nudgeKey = m_document.newMergeKey();
    }
    moveObject(scene, offsets, tamo::MovedMark(scene.stage, *mark, dx, dy), m_nudgeKey);
    return true;
}

std::optional<tamo::ObjectMark> ObjectMover::dragged() const
{
    return m_drag ? std::optional<tamo::ObjectMark>(m_drag->mark()) : std::nullopt;
}

void ObjectMover::moveObject(const tamo::StageScene &scene, const tamo::OffsetTable &offsets,
                             const tamo::ObjectMark &to, uint64_t mergeKey)
{
    const tamo::RomPatch patch = tamo::MoveObjectPatch(scene.rom, offsets, scene.stage, to.object, to.x, to.y);
    m_document.edit(RomEdit{QStringLiteral("Move %1").arg(ObjectName(to.object)), scopeOf(to.object.kind),
                            scene.stage.LevelNumber, patch, mergeKey});
}
