#pragma once

#include "forms/action_definition.h"

#include <QObject>
#include <QString>

// A mouse event over the map, at a pixel of the stage picture (1:1, whatever the zoom).
struct MapPointer
{
    Qt::MouseButton button = Qt::NoButton; // the button pressed or released; none for a move
    Qt::KeyboardModifiers modifiers;
    int x = 0;
    int y = 0;
};

// The standard edit actions of the Edit menu, which act on the map through the tool in use.
enum class MapEdit { Cut, Copy, Paste, Delete, Fill, SelectNone };

// One way of working on the map ("Paint tiles", "Move objects"). The map view hands its
// mouse events to the tool in use, the Edit menu its standard actions and the arrow keys
// their presses; the tool shows its own state over the map and in the status bar.
class MapTool : public QObject
{
    Q_OBJECT

public:
    // The tool's check item in the View menu and on the tool bar.
    virtual ActionDefinition action() const = 0;

    virtual void press(const MapPointer &pointer) = 0;
    virtual void move(const MapPointer &pointer) = 0;
    virtual void release(const MapPointer &pointer) = 0;
    // Whether the arrow keys go to the tool now, rather than scroll the map.
    virtual bool takesKeys() const { return false; }
    virtual void key(Qt::Key, Qt::KeyboardModifiers) {}
    // The tool comes into use, or goes out of it.
    virtual void activate() {}
    virtual void deactivate() {}
    // Whether the action can do anything now; the Edit menu follows it.
    virtual bool canEdit(MapEdit edit) const = 0;
    virtual void edit(MapEdit edit) = 0;

signals:
    // canEdit or takesKeys may answer otherwise now.
    void stateChanged();
    // Texts for the status bar's cell and pen panels.
    void cellStatus(const QString &text);
    void penStatus(const QString &text);
    // A passing message for the status bar: why an action did nothing.
    void message(const QString &text);
};
