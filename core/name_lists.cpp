#include "core/name_lists.h"

#include "core/ini_file.h"
#include "core/integer_syntax.h"
#include "core/stage.h"

namespace tamo {

std::string LevelKey(int32_t level)
{
    return hexText(static_cast<uint32_t>(level), 2);
}

std::string LevelName(const IniFile &offsetsIni, int32_t level)
{
    return offsetsIni.readString("Level name", LevelKey(level));
}

std::string LevelItemText(const IniFile &offsetsIni, int32_t level)
{
    return LevelKey(level) + ":" + LevelName(offsetsIni, level);
}

NameList LoadNameList(const IniFile &offsetsIni, const NameListSections &sections)
{
    NameList list;
    // The values run from key 0 up to the first key that is missing, unreadable or 0.
    for (int32_t i = 0;; ++i) {
        const int32_t value = offsetsIni.readInteger(sections.valueSection, std::to_string(i), 0);
        if (value == 0)
            break;
        const std::string key = hexText(static_cast<uint32_t>(value), 4);
        list.push_back({value, key + ":" + offsetsIni.readString(sections.nameSection, key)});
    }
    return list;
}

int FindValueIndex(const NameList &list, int32_t value)
{
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].value == value)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace tamo
