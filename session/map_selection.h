#pragma once

#include "core/map_object.h"

#include <QObject>

#include <optional>

// The object selected on the map, shared by the map and the sprite and camera editors:
// each of them sets it and follows it.
class MapSelection : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    const std::optional<tamo::MapObject> &object() const { return m_object; }
    // Says changed() when the selection becomes another one.
    void select(const std::optional<tamo::MapObject> &object);

signals:
    void changed();

private:
    std::optional<tamo::MapObject> m_object;
};
