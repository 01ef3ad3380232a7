#include "forms/map_tool_switch.h"

#include "forms/error_report.h"
#include "forms/stage_image.h"

#include <QAction>
#include <QActionGroup>
#include <QWidget>

MapToolSwitch::MapToolSwitch(StageImage &view, QWidget &window)
    : QObject(&window)
    , m_group(new QActionGroup(this))
{
    const auto pointer = [](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
        return MapPointer{button, modifiers, x, y};
    };
    connect(&view, &CanvasImage::mouseDown, this,
            [this, pointer](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
                ReportErrors([&] { current().press(pointer(button, modifiers, x, y)); });
            });
    connect(&view, &CanvasImage::mouseMove, this, [this, pointer](int x, int y, Qt::KeyboardModifiers modifiers) {
        ReportErrors([&] { current().move(pointer(Qt::NoButton, modifiers, x, y)); });
    });
    connect(&view, &CanvasImage::mouseUp, this, [this, pointer](Qt::MouseButton button, int x, int y) {
        ReportErrors([&] { current().release(pointer(button, {}, x, y)); });
    });
    addArrowKeys(window);
}

MapToolSwitch::~MapToolSwitch() = default;

void MapToolSwitch::addArrowKeys(QWidget &window)
{
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) {
        for (const Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
            auto *action = new QAction(&window);
            // Disabled, the action leaves the key to the focused control: the map scrolls.
            action->setEnabled(false);
            action->setShortcut(QKeySequence(QKeyCombination(modifiers, key)));
            action->setShortcutContext(Qt::WindowShortcut);
            connect(action, &QAction::triggered, this,
                    [this, key, modifiers] { ReportErrors([&] { current().key(key, modifiers); }); });
            window.addAction(action);
            m_arrowKeys << action;
        }
    }
}

QAction *MapToolSwitch::add(MapTool *tool)
{
    tool->setParent(this);
    QAction *action = CreateAction(tool->action(), m_group);
    // In a tool window the letter belongs to its own controls.
    action->setShortcutContext(Qt::WindowShortcut);
    MapTool &added = *tool;
    connect(&added, &MapTool::stateChanged, this, &MapToolSwitch::followCurrentTool);
    connect(&added, &MapTool::cellStatus, this, &MapToolSwitch::cellStatus);
    connect(&added, &MapTool::penStatus, this, &MapToolSwitch::penStatus);
    connect(&added, &MapTool::message, this, &MapToolSwitch::message);
    connect(action, &QAction::toggled, this,
            [this, &added](bool checked) { ReportErrors([&] { toolToggled(added, checked); }); });
    if (!m_current)
        action->setChecked(true);
    return action;
}

QList<QAction *> MapToolSwitch::actions() const
{
    return m_group->actions();
}

MapTool &MapToolSwitch::current() const
{
    return *m_current;
}

void MapToolSwitch::toolToggled(MapTool &tool, bool checked)
{
    if (!checked) {
        tool.deactivate();
        return;
    }
    m_current = &tool;
    tool.activate();
    followCurrentTool();
}

void MapToolSwitch::attach(QAction *action, MapEdit edit)
{
    m_editActions.push_back({action, edit});
    connect(action, &QAction::triggered, this, [this, edit] { ReportErrors([&] { current().edit(edit); }); });
    action->setEnabled(m_current && m_current->canEdit(edit));
}

void MapToolSwitch::followCurrentTool()
{
    if (!m_current)
        return;
    for (const EditAction &edit : m_editActions)
        edit.action->setEnabled(m_current->canEdit(edit.edit));
    const bool keys = m_current->takesKeys();
    for (QAction *arrow : m_arrowKeys)
        arrow->setEnabled(keys);
}
