#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamo {

class IniFile;

// A sprite kind of Data\sprite.ini: Param in the high 16 bits, Type in the low 16.
struct SpriteTypeEntry
{
    uint32_t value = 0;
    std::string lineText; // "0001-9055:name"

    int32_t param() const { return static_cast<int32_t>(value >> 16); }
    int32_t type() const { return static_cast<int32_t>(value & 0xFFFF); }
};
using SpriteTypeList = std::vector<SpriteTypeEntry>;

SpriteTypeList LoadSpriteTypes(const IniFile &spriteIni);
int FindSpriteType(const SpriteTypeList &types, int32_t param, int32_t type);
// Key "0x" + Type (four hex digits) of section "0x" + Param; empty when absent.
std::string SpriteTypeName(const IniFile &spriteIni, int32_t param, int32_t type);

} // namespace tamo
