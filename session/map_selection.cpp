#include "session/map_selection.h"

void MapSelection::select(const std::optional<tamo::MapObject> &object)
{
    if (object == m_object)
        return;
    m_object = object;
    emit changed();
}
