#include "core/sprite_types.h"

#include "core/ini_file.h"
#include "core/integer_syntax.h"

namespace tamo {

SpriteTypeList LoadSpriteTypes(const IniFile &spriteIni)
{
    SpriteTypeList types;
    for (const std::string &section : spriteIni.sections()) {
        const std::optional<int32_t> param = parseInteger(section);
        if (!param)
            continue;
        spriteIni.forEachEntry(section, [&](std::string_view key, std::string_view name) {
            const std::optional<int32_t> type = parseInteger(key);
            if (!type || name.empty())
                return;
            const uint32_t value = (static_cast<uint32_t>(*param) << 16) + static_cast<uint32_t>(*type);
            std::string line = hexText(value >> 16, 4);
            line.append("-").append(hexText(value & 0xFFFF, 4)).append(":").append(name);
            types.push_back({value, std::move(line)});
        });
    }
    return types;
}

int FindSpriteType(const SpriteTypeList &types, int32_t param, int32_t type)
{
    for (size_t i = 0; i < types.size(); ++i) {
        if (types[i].param() == param && types[i].type() == type)
            return static_cast<int>(i);
    }
    return -1;
}

std::string SpriteTypeName(const IniFile &spriteIni, int32_t param, int32_t type)
{
    const auto code = [](int32_t value) { return "0x" + hexText(static_cast<uint16_t>(value), 4); };
    return spriteIni.readString(code(param), code(type));
}

} // namespace tamo
