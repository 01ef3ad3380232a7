#include "core/ini_file.h"
#include "view/map_editor.h"
#include "view/map_view_settings.h"
#include "view/map_zoom.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamo {
namespace {

MapZoom zoomOf(const std::string &setting)
{
    const MapZoom zoom = MapZoom::FromSetting(setting);
    EXPECT_EQ(zoom.setting(), setting);
    return zoom;
}

// The cell under a view pixel is the cell of the image pixel it shows, with the same
// truncation toward zero as at 1:1: up to 31 image pixels left of the image still give
// column 0, further out column -1.
TEST(MapZoom, TheCellUnderAViewPixelAtEveryZoom)
{
    struct Case
    {
        const char *zoom;
        int view;
        int image;
        int column;
    };
    const std::vector<Case> cases{
        {"1/8", 5, 40, 1},   {"1/8", 3, 24, 0},    {"1/8", 4, 32, 1},    {"1/8", -1, -8, 0},
        {"1/8", -3, -24, 0}, {"1/8", -4, -32, -1}, {"1/4", 7, 28, 0},    {"1/4", 8, 32, 1},
        {"1/2", 63, 126, 3}, {"1/2", -16, -32, -1}, {"1", 40, 40, 1},    {"1", -10, -10, 0},
        {"1", -40, -40, -1}, {"2", 63, 31, 0},     {"2", 64, 32, 1},     {"2", -1, -1, 0},
        {"2", -63, -32, -1}, {"3", 95, 31, 0},     {"3", 96, 32, 1},     {"3", -93, -31, 0},
        {"3", -94, -32, -1}, {"4", 127, 31, 0},    {"4", 128, 32, 1},    {"4", -128, -32, -1},
    };
    for (const Case &c : cases) {
        const MapZoom zoom = zoomOf(c.zoom);
        EXPECT_EQ(zoom.toImage(c.view), c.image) << c.zoom << " view " << c.view;
        EXPECT_EQ(CellAt(zoom.toImage(c.view), 0).column, c.column) << c.zoom << " view " << c.view;
    }
}

TEST(MapZoom, ImagePositionsOfWholeViewPixelsComeBack)
{
    for (const char *setting : {"1/8", "1/4", "1/2", "1", "2", "3", "4"}) {
        const MapZoom zoom = zoomOf(setting);
        for (int image = -64; image <= 64; image += zoom.denominator())
            EXPECT_EQ(zoom.toImage(zoom.toView(image)), image) << setting;
    }
    // The widest stage's image, 65,760 pixels, at both ends; an unknown setting is 1:1.
    EXPECT_EQ(zoomOf("1/8").toView(65760), 8220);
    EXPECT_EQ(zoomOf("4").toView(65760), 263040);
    EXPECT_EQ(MapZoom::FromSetting("5").setting(), "1");
    EXPECT_EQ(MapZoom().zoomedOut().zoomedOut().zoomedOut().zoomedOut().setting(), "1/8");
    EXPECT_EQ(zoomOf("4").zoomedIn().setting(), "4");
}

TEST(MapViewSettings, KeptInTheirOwnSection)
{
    const MapViewSettings read
        = ReadMapViewSettings(IniFile::parse("[mapview]\nzoom=1/4\ngrid=1\n[View]\nSprite=0\n"));
    EXPECT_EQ(read.Zoom.setting(), "1/4");
    EXPECT_TRUE(read.Grid);
    EXPECT_FALSE(read.ScreenLines);

    const MapViewSettings defaults = ReadMapViewSettings(IniFile::parse("[MapView]\nZoom=7\n"));
    EXPECT_EQ(defaults.Zoom.setting(), "1");
    EXPECT_FALSE(defaults.Grid);

    IniFile ini = IniFile::parse("[View]\nSprite=0\n");
    WriteMapViewSettings(ini, {MapZoom::FromSetting("3"), false, true});
    EXPECT_EQ(ini.sections(), (std::vector<std::string>{"View", "MapView"}));
    EXPECT_EQ(ini.keys("MapView"), (std::vector<std::string>{"Zoom", "Grid", "ScreenLines", "MoveObjects", "HighlightChipUses"}));
    EXPECT_EQ(ini.value("MapView", "Zoom"), "3");
    EXPECT_EQ(ini.value("MapView", "Grid"), "0");
    EXPECT_EQ(ini.value("MapView", "ScreenLines"), "1");
}

} // namespace
} // namespace tamo
