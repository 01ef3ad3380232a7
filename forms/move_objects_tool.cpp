#include "forms/move_objects_tool.h"

#include "core/object_lists.h"
#include "core/stage.h"
#include "forms/sprite_line.h"
#include "forms/stage_image.h"
#include "session/stage_session.h"
#include "view/map_editor.h"
#include "view/map_pen.h"
#include "view/stage_scene.h"

#include <QHelpEvent>
#include <QToolTip>

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

constexpr int ShiftStep = 8;

} // namespace

QString SpriteMarkTip(const tamo::StageScene &scene, const tamo::IniFile &spriteIni, int x, int y)
{
    const std::optional<tamo::ObjectMark> mark = tamo::ObjectMarkAt(scene, x, y);
    if (!mark || mark->object.kind != tamo::ObjectKind::Sprite)
        return {};
    const std::vector<tamo::SpriteRecord> sprites = tamo::ReadSpriteList(scene.rom, scene.stage.SpriteListOffset);
    return SpriteLine(spriteIni, mark->object.index, sprites.at(size_t(mark->object.index)));
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

MoveObjectsTool::MoveObjectsTool(StageSession &session, StageImage &view)
    : m_session(session)
    , m_view(view)
{
    connect(session.Selection, &MapSelection::changed, this, &MoveObjectsTool::showSelectedObject);
    connect(&session, &StageSession::markSwitchesChanged, this, &MoveObjectsTool::showSelectedObject);
    connect(&session, &StageSession::changed, this, [this](const RomChange &change) {
        if (change.scope != EditScope::TileMap)
            showSelectedObject();
    });
    view.installEventFilter(this);
}

ActionDefinition MoveObjectsTool::action() const
{
    return {"ToolMoveObjects", "Move objects", "Move objects", "Move objects", QKeyCombination(Qt::Key_S), ImageListIcon::MoveObjects, true, true};
}

void MoveObjectsTool::press(const MapPointer &pointer)
{
    // Only the left button does anything here, and it never paints.
    if (pointer.button != Qt::LeftButton || !m_session.StageShown())
        return;
    const std::optional<tamo::ObjectMark> mark = tamo::ObjectMarkAt(m_session.stageScene(), pointer.x, pointer.y);
    m_session.Selection->select(mark ? std::optional<tamo::MapObject>(mark->object) : std::nullopt);
    if (mark)
        m_drag.emplace(*mark, pointer.x, pointer.y);
    showSelectedObject();
}

void MoveObjectsTool::move(const MapPointer &pointer)
{
    if (m_drag) {
        m_drag->moveTo(m_session.Stage, pointer.x, pointer.y, pointer.modifiers & Qt::ShiftModifier);
        showSelectedObject();
    }
    if (const std::optional<std::string> text = tamo::CellStatusText(m_session.Stage, tamo::CellAt(pointer.x, pointer.y)))
        emit cellStatus(QString::fromStdString(*text));
    emit penStatus(QString::fromStdString(tamo::PenStatusText(m_session.Pen)));
}

void MoveObjectsTool::release(const MapPointer &)
{
    if (!m_drag)
        return;
    const tamo::ObjectDrag drag = *m_drag;
    m_drag.reset();
    // A drag that ends where it started writes nothing.
    if (drag.moved())
        moveObject(drag.mark(), 0);
    showSelectedObject();
}

bool MoveObjectsTool::takesKeys() const
{
    return m_takesKeys;
}

void MoveObjectsTool::key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    const int step = modifiers & Qt::ShiftModifier ? ShiftStep : 1;
    switch (key) {
    case Qt::Key_Left: return nudge(-step, 0);
    case Qt::Key_Right: return nudge(step, 0);
    case Qt::Key_Up: return nudge(0, -step);
    case Qt::Key_Down: return nudge(0, step);
    default: return;
    }
}

void MoveObjectsTool::activate()
{
    m_active = true;
    showSelectedObject();
}

void MoveObjectsTool::deactivate()
{
    m_active = false;
    showSelectedObject();
}

bool MoveObjectsTool::canEdit(MapEdit edit) const
{
    return edit == MapEdit::SelectNone;
}

void MoveObjectsTool::edit(MapEdit edit)
{
    if (edit == MapEdit::SelectNone)
        m_session.Selection->select(std::nullopt);
}

std::optional<tamo::ObjectMark> MoveObjectsTool::selectedMark()
{
    const std::optional<tamo::MapObject> &object = m_session.Selection->object();
    return object ? tamo::FindObjectMark(m_session.stageScene(), *object) : std::nullopt;
}

void MoveObjectsTool::showSelectedObject()
{
    const std::optional<tamo::ObjectMark> mark = selectedMark();
    // The arrow keys scroll the map unless they have an object to move.
    m_takesKeys = m_active && m_session.StageShown() && mark;
    emit stateChanged();
    if (!m_session.StageShown() || !mark) {
        m_view.showObject(std::nullopt, {});
        return;
    }
    const QRect place(mark->left, mark->top, tamo::CellPixels, tamo::CellPixels);
    if (m_drag) {
        // The mark as the map shows it, following the pointer.
        const tamo::ObjectMark dragged = m_drag->mark();
        m_view.showObject(QRect(dragged.left, dragged.top, tamo::CellPixels, tamo::CellPixels),
                          m_session.stagePicture().picture().copy(place));
        return;
    }
    m_view.showObject(place, {});
    m_view.scrollTo(place.center());
}

void MoveObjectsTool::nudge(int dx, int dy)
{
    const std::optional<tamo::MapObject> &object = m_session.Selection->object();
    const std::optional<tamo::ObjectMark> mark = selectedMark();
    if (!mark)
        return;
    if (m_nudged != object) {
        m_nudged = object;
        m_nudgeKey = m_session.Document->newMergeKey();
    }
    moveObject(tamo::MovedMark(m_session.Stage, *mark, dx, dy), m_nudgeKey);
}

void MoveObjectsTool::moveObject(const tamo::ObjectMark &to, uint64_t mergeKey)
{
    const tamo::RomPatch patch
        = tamo::MoveObjectPatch(m_session.RomImage, m_session.OffsetTable, m_session.Stage, to.object, to.x, to.y);
    m_session.Document->edit(RomEdit{QStringLiteral("Move %1").arg(ObjectName(to.object)), scopeOf(to.object.kind),
                                     m_session.LevelNumber, patch, mergeKey});
}

bool MoveObjectsTool::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && watched == &m_view && m_session.StageShown()) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QPoint at = m_view.canvasPoint(help->pos());
        const QString tip = SpriteMarkTip(m_session.stageScene(), m_session.SpriteIni, at.x(), at.y());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, &m_view);
        return true;
    }
    return MapTool::eventFilter(watched, event);
}
