#pragma once

#include "forms/map_tool.h"

#include <QList>
#include <QObject>

#include <vector>

class QAction;
class QActionGroup;
class StageImage;
class QWidget;

// The map tools and the one in use: each has a check item of its own, exactly one of
// them checked. The map view's mouse events, the standard edit actions and the arrow
// keys go to the tool in use, which also decides whether each edit action is enabled.
class MapToolSwitch : public QObject
{
    Q_OBJECT

public:
    // The arrow keys become actions of the window; they reach the map's scroll bars as
    // before while the tool in use takes no keys.
    MapToolSwitch(StageImage &view, QWidget &window);
    ~MapToolSwitch() override;

    // Takes the tool and makes its check item; the first tool added is the one in use.
    QAction *add(MapTool *tool);
    // The tools' check items, in the order they were added.
    QList<QAction *> actions() const;
    MapTool &current() const;
    // The action's trigger goes to the tool in use, and its enabled state follows the tool.
    void attach(QAction *action, MapEdit edit);

signals:
    void cellStatus(const QString &text);
    void penStatus(const QString &text);
    void message(const QString &text);

private:
    struct EditAction
    {
        QAction *action;
        MapEdit edit;
    };

    void addArrowKeys(QWidget &window);
    void toolToggled(MapTool &tool, bool checked);
    void followCurrentTool();

    QActionGroup *m_group;
    MapTool *m_current = nullptr;
    std::vector<EditAction> m_editActions;
    QList<QAction *> m_arrowKeys;
};
