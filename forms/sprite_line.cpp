#include "forms/sprite_line.h"

#include "core/list_lines.h"
#include "core/object_lists.h"
#include "core/sprite_types.h"
#include "qtcommon/shift_jis_text.h"

QString SpriteLine(const tamo::IniFile &spriteIni, int index, const tamo::SpriteRecord &record)
{
    const std::string name = tamo::SpriteTypeName(spriteIni, record.Param, record.Type);
    return tamo::fromShiftJis(tamo::SpriteLineText(index, record, name));
}
