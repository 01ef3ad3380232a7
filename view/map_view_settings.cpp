#include "view/map_view_settings.h"

#include "core/ini_file.h"

namespace tamo {

namespace {

constexpr const char *Section = "MapView";

} // namespace

MapViewSettings ReadMapViewSettings(const IniFile &ini)
{
    MapViewSettings settings;
    settings.Zoom = MapZoom::FromSetting(ini.readString(Section, "Zoom", settings.Zoom.setting()));
    settings.Grid = ini.readBool(Section, "Grid", false);
    settings.ScreenLines = ini.readBool(Section, "ScreenLines", false);
    settings.MoveObjects = ini.readBool(Section, "MoveObjects", false);
    return settings;
}

void WriteMapViewSettings(IniFile &ini, const MapViewSettings &settings)
{
    ini.writeString(Section, "Zoom", settings.Zoom.setting());
    ini.writeBool(Section, "Grid", settings.Grid);
    ini.writeBool(Section, "ScreenLines", settings.ScreenLines);
    ini.writeBool(Section, "MoveObjects", settings.MoveObjects);
}

} // namespace tamo
