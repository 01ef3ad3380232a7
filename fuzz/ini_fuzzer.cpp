// The INI reader and the integer syntax on arbitrary text.
#include "core/ini_file.h"
#include "core/integer_syntax.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    tamo::parseInteger(text);

    const tamo::IniFile ini = tamo::IniFile::parse(text);
    for (const std::string &section : ini.sections()) {
        // Each listed entry is the one its key finds, in its own letter case or in capitals.
        ini.forEachEntry(section, [&](std::string_view key, std::string_view value) {
            std::string capitals(key);
            for (char &c : capitals)
                c = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
            require(ini.value(section, key) == value);
            require(ini.value(section, capitals) == value);
        });
        for (const std::string &key : ini.keys(section)) {
            // A listed key always has a value, under any letter case of its section.
            require(ini.value(section, key).has_value());
            ini.readInteger(section, key, 0);
            ini.readBool(section, key, false);
            tamo::parseInteger(ini.readString(section, key));
        }
    }

    // What the writer produces reads back as the same sections and keys.
    const tamo::IniFile again = tamo::IniFile::parse(ini.toText());
    require(again.sections() == ini.sections());
    for (const std::string &section : ini.sections())
        require(again.keys(section) == ini.keys(section));

    tamo::IniFile edited = ini;
    edited.writeString("Fuzz", "Key", text.substr(0, 16));
    edited.writeInteger("Fuzz", "Number", static_cast<int32_t>(size));
    require(edited.readInteger("Fuzz", "Number", -1) == static_cast<int32_t>(size));
    return 0;
}
