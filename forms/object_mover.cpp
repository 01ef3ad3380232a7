#include "forms/object_mover.h"

#include "core/object_lists.h"
#include "core/stage.h"
#include "document/rom_document.h"
#include "forms/UnitSpriteEdit.h"
#include "forms/map_selection.h"
#include "view/stage_scene.h"

#include <QAction>
#include <QWidget>

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
    return SpriteLine(spriteIni, mark->object.index, sprites.at(size_t(mark->object.index)));
}

QList<QAction *> AddNudgeActions(QWidget *window, const std::function<void(int dx, int dy)> &nudge)
{
    struct Arrow
    {
        Qt::Key key;
        int dx;
        int dy;
    };
    const Arrow arrows[] = {{Qt::Key_Left, -1, 0}, {Qt::Key_Right, 1, 0}, {Qt::Key_Up, 0, -1}, {Qt::Key_Down, 0, 1}};
    QList<QAction *> actions;
    for (const Arrow &arrow : arrows) {
        for (const int step : {1, 8}) {
            auto *action = new QAction(window);
            action->setEnabled(false);
            action->setShortcut(step == 1 ? QKeySequence(arrow.key) : QKeySequence(Qt::SHIFT | arrow.key));
            action->setShortcutContext(Qt::WindowShortcut);
            QObject::connect(action, &QAction::triggered, window,
                             [nudge, dx = arrow.dx * step, dy = arrow.dy * step] { nudge(dx, dy); });
            window->addAction(action);
            actions << action;
        }
    }
    return actions;
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

void ObjectMover::nudge(const tamo::StageScene &scene, const tamo::OffsetTable &offsets, int dx, int dy)
{
    const std::optional<tamo::MapObject> &object = m_selection.object();
    const std::optional<tamo::ObjectMark> mark = object ? tamo::FindObjectMark(scene, *object) : std::nullopt;
    if (!mark)
        return;
    if (m_nudged != object) {
        m_nudged = object;
        m_nudgeKey = m_document.newMergeKey();
    }
    moveObject(scene, offsets, tamo::MovedMark(scene.stage, *mark, dx, dy), m_nudgeKey);
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
