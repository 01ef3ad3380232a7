#include "cli/demo_catalogue.h"

#include "cli/demo_themes.h"

namespace tamo::cli {

const QList<DemoForeground> &demoForegrounds()
{
    static const QList<DemoForeground> list{
        {0x0001, 1}, {0x0002, 2}, {0x0003, 3}, {0x0004, 4}, {0x0005, 5},
        {0x0006, 6}, {0x0007, 7}, {0x0008, 8}, {0x0011, 1}, {0x0100, 4},
    };
    return list;
}

const QList<DemoNamedValue> &demoBackgrounds()
{
    static const QList<DemoNamedValue> list{
        {0x0001, "Tall grass"}, {0x0002, "Stone wall"},  {0x0003, "Snowy hills"},
        {0x0004, "Old houses"}, {0x0005, "Sea and sky"}, {0x0006, QString::fromUtf8("星空")},
    };
    return list;
}

const QList<DemoNamedValue> &demoMusic()
{
    static const QList<DemoNamedValue> list{
        {0x0001, "Morning tune"},  {0x0002, "Echoes"},      {0x0003, "Cold wind"},
        {0x0004, "Slow drums"},    {0x0005, "Seaside waltz"}, {0x0006, QString::fromUtf8("夜の歌")},
        {0x0007, "Water lullaby"}, {0x0008, "Clock march"},
    };
    return list;
}

const QList<DemoNamedValue> &demoFunctions()
{
    static const QList<DemoNamedValue> list{
        {0x00C00000, "Normal stage"},
        {0x00C0A1B2, "Timed stage"},
        {0x0001C0A1, "Quiet room"},
        {0x00C01234, QString::fromUtf8("隠し部屋")},
    };
    return list;
}

const QList<DemoNamedValue> &demoStartActions()
{
    static const QList<DemoNamedValue> list{
        {0x0001, "Walk in"},
        {0x0002, "Drop from above"},
        {0x0003, "Slide in"},
        {0x0004, "Swim in"},
    };
    return list;
}

const QList<DemoSpriteKind> &demoSpriteKinds()
{
    static const QList<DemoSpriteKind> list{
        {0x0001, 0x9055, "Lamp post"},
        {0x0002, 0x9101, "Red walker"},
        {0x0002, 0x9102, QString::fromUtf8("やかん")},
        {0x0003, 0x9201, "Paper kite"},
        {0x0003, 0x9202, "Soap bubble"},
        {0x0004, 0x9301, "Spring"},
        {0x0005, 0x9401, QString::fromUtf8("傘")},
        {0x0006, 0x9501, "Traffic cone"},
    };
    return list;
}

QString demoLevelName(int32_t level, int32_t tilemap)
{
    const DemoTheme &theme = demoTheme(tilemap);
    const int number = level / DemoTilemapCount + 1;
    if (level % 4 == 2)
        return QString::fromUtf8(theme.japaneseName) + QString::fromUtf8("ステージ") + QString::number(number);
    return QStringLiteral("%1 %2").arg(QLatin1String(theme.englishName)).arg(number);
}

} // namespace tamo::cli
