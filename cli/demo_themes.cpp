#include "cli/demo_themes.h"

#include <array>

namespace tamo::cli {

namespace {

QColor rgb(int value)
{
    return QColor::fromRgb(static_cast<QRgb>(value));
}

// sky, low sky, ground, dark ground, grass, brick, wood, leaf, water, accent
DemoTheme theme(const char *english, const char *japanese, int32_t mode, std::array<int, 10> c)
{
    return DemoTheme{english,     japanese,    mode,        rgb(c[0]), rgb(c[1]),
                     rgb(c[2]),   rgb(c[3]),   rgb(c[4]),   rgb(c[5]), rgb(c[6]),
                     rgb(c[7]),   rgb(c[8]),   rgb(c[9])};
}

} // namespace

const DemoTheme &demoTheme(int32_t tilemap)
{
    static const std::array<DemoTheme, DemoTilemapCount> themes{
        theme("Meadow", "草原", 0,
              {0x5C94FC, 0x8CC4FC, 0x9C5A2C, 0x6B3A18, 0x3CB43C, 0xB84C28, 0xA0702C, 0x207C20, 0x2060E0, 0xF8D038}),
        theme("Cave", "洞窟", 0,
              {0x202838, 0x303848, 0x7C6850, 0x4C3C2C, 0x6C8C4C, 0x806458, 0x8C6C3C, 0x4C6C3C, 0x285080, 0xE0A040}),
        theme("Winter hills", "冬の丘", 0,
              {0x9CB8E0, 0xC8DCF4, 0xE8F0F8, 0xA8B8C8, 0xFFFFFF, 0x8C98B0, 0x9C7C5C, 0x4C8C6C, 0x4C88C8, 0xE85050}),
        theme("Old town", "古い町", 0,
              {0xE0B070, 0xF0D098, 0xB09058, 0x806438, 0x90A040, 0xC8A060, 0x906030, 0x6C8C30, 0x3C8CA0, 0x40B0E0}),
        theme("Seaside", "海辺", 0,
              {0x48A8F0, 0x98D8F8, 0xE8D090, 0xB89858, 0x58C858, 0xD07048, 0xB08048, 0x38A048, 0x1878C8, 0xF87898}),
        theme("Night park", "夜の公園", 0,
              {0x101848, 0x283068, 0x584838, 0x383020, 0x306838, 0x704038, 0x6C5030, 0x204C28, 0x203C78, 0xF8F0A0}),
        theme("Pool", "プール", 1,
              {0x105878, 0x207898, 0xC0A870, 0x887048, 0x40A880, 0x907858, 0x806040, 0x308860, 0x184890, 0xF8A040}),
        theme("Clock tower", "時計塔", 2,
              {0x604878, 0x806898, 0x888090, 0x585060, 0x70A060, 0x9C6C6C, 0x7C5C40, 0x407C50, 0x3C60A0, 0xF0E060}),
    };
    return themes[static_cast<size_t>((tilemap - 1 + DemoTilemapCount) % DemoTilemapCount)];
}

} // namespace tamo::cli
