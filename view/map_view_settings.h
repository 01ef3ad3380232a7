#pragma once

#include "view/map_zoom.h"

#include <cstdint>

namespace tamo {

class IniFile;

// How the stage view shows the map, kept across runs in section "MapView" of
// Config\application.ini: "Zoom" ("1/8" ... "4", default "1"), "Grid" and "ScreenLines"
// (booleans, default off), "MoveObjects" (the mouse moves objects instead of painting
// tiles, default off) and "HighlightChipUses" (the cells holding the pen's chip are tinted,
// default off).
struct MapViewSettings
{
    MapZoom Zoom;
    bool Grid = false;
    bool ScreenLines = false;
    bool MoveObjects = false;
    bool HighlightChipUses = false;
};

MapViewSettings ReadMapViewSettings(const IniFile &ini);
void WriteMapViewSettings(IniFile &ini, const MapViewSettings &settings);

// The stage shown first: "Latest" of section "Stage", the stage of the last close. A
// number that is no stage (outside 0-229, or no number at all) reads as stage 22.
int32_t ReadLatestStage(const IniFile &ini);

} // namespace tamo
