#include "core/offset_table.h"

#include "core/ini_file.h"

namespace tamo {

OffsetTable LoadOffsetTable(const IniFile &offsetsIni)
{
    const OffsetTable defaults;
    OffsetTable table;
    const auto read = [&](const char *key, int32_t OffsetTable::*field) {
        table.*field = offsetsIni.readInteger("Offset", key, defaults.*field);
    };
    read("LevelFunc", &OffsetTable::LevelFunc);
    read("TileMap", &OffsetTable::TileMap);
    read("Banana", &OffsetTable::Banana);
    read("FG", &OffsetTable::FG);
    read("BG", &OffsetTable::BG);
    read("Music", &OffsetTable::Music);
    read("Darkness", &OffsetTable::Darkness);
    read("Camera", &OffsetTable::Camera);
    read("StartPoint", &OffsetTable::StartPoint);
    read("Sprite", &OffsetTable::Sprite);
    read("StartAction", &OffsetTable::StartAction);
    read("BaseCamera", &OffsetTable::BaseCamera);
    read("BaseSprite", &OffsetTable::BaseSprite);
    read("Banana2", &OffsetTable::Banana2);
    return table;
}

} // namespace tamo
