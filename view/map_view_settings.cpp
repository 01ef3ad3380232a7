#include "view/map_view_settings.h"

#include "core/ini_file.h"
#include "core/stage.h"

namespace tamo {

namespace {

constexpr const char *Section = "MapView";
constexpr int32_t DefaultStage = 22;

} // namespace

MapViewSettings ReadMapViewSettings(const IniFile &ini)
{
    MapViewSettings settings;
    settings.Zoom = MapZoom::FromSetting(ini.readString(Section, "Zoom", settings.Zoom.setting()));
    settings.Grid = ini.readBool(Section, "Grid", false);
    settings.ScreenLines = ini.readBool(Section, "ScreenLines", false);
    settings.MoveObjects = ini.readBool(Section, "MoveObjects", false);
    settings.HighlightChipUses = ini.readBool(Section, "HighlightChipUses", false);
    return settings;
}

void WriteMapViewSettings(IniFile &ini, const MapViewSettings &settings)
{
    ini.writeString(Section, "Zoom", settings.Zoom.setting());
    ini.writeBool(Section, "Grid", settings.Grid);
    ini.writeBool(Section, "ScreenLines", settings.ScreenLines);
    ini.writeBool(Section, "MoveObjects", settings.MoveObjects);
    ini.writeBool(Section, "HighlightChipUses", settings.HighlightChipUses);
}

int32_t ReadLatestStage(const IniFile &ini)
{
    const int32_t level = ini.readInteger("Stage", "Latest", DefaultStage);
    return level >= 0 && level < LevelCount ? level : DefaultStage;
}

} // namespace tamo
