#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tamo {

class IniFile;

// Stage names: section "Level name", key = level as two upper-case hex digits.
std::string LevelKey(int32_t level);
std::string LevelName(const IniFile &offsetsIni, int32_t level);
std::string LevelItemText(const IniFile &offsetsIni, int32_t level); // "0C:name"

struct NameEntry
{
    int32_t value = 0;
    std::string itemText; // "001A:name"
};
using NameList = std::vector<NameEntry>;

// One drop-down list of the stage settings, as read from its two sections.
struct NameListSections
{
    const char *valueSection;
    const char *nameSection;
};
constexpr NameListSections FGNameList{"FG list", "FG name"};
constexpr NameListSections BGNameList{"BG list", "BG name"};
constexpr NameListSections MusicNameList{"Music list", "Music name"};
constexpr NameListSections FunctionNameList{"Function list", "Function name"};
constexpr NameListSections StartActionNameList{"Start action list", "Start action name"};

NameList LoadNameList(const IniFile &offsetsIni, const NameListSections &sections);
int FindValueIndex(const NameList &list, int32_t value);

} // namespace tamo
