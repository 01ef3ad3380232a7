#pragma once

#include <QList>
#include <QString>

#include <cstdint>

namespace tamo::cli {

// The made-up names and values of the demo set, shared by its ROM and its data files.

struct DemoForeground
{
    uint16_t fgWord;  // the value in the ROM's FG table
    int32_t tilemap;  // its entry in section "FG Tilemap"
};
// Several FG words lead to the same tilemap, as in a real game.
const QList<DemoForeground> &demoForegrounds();

struct DemoNamedValue
{
    int32_t value;
    QString name;
};
const QList<DemoNamedValue> &demoBackgrounds();
const QList<DemoNamedValue> &demoMusic();
const QList<DemoNamedValue> &demoFunctions();
const QList<DemoNamedValue> &demoStartActions();

struct DemoSpriteKind
{
    uint16_t param;
    uint16_t type;
    QString name;
};
const QList<DemoSpriteKind> &demoSpriteKinds();

// The name of a stage, Japanese for some of them.
QString demoLevelName(int32_t level, int32_t tilemap);

} // namespace tamo::cli
