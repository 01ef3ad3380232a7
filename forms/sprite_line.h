#pragma once

#include <QString>

namespace tamo {
class IniFile;
struct SpriteRecord;
} // namespace tamo

// A sprite's line as the sprite editor lists it and its mark's tip shows it: index, codes
// and the kind's name from Data\sprite.ini.
QString SpriteLine(const tamo::IniFile &spriteIni, int index, const tamo::SpriteRecord &record);
