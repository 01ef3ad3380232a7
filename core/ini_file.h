#pragma once

#include <cstdint>
#include <filesystem>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamo {

// An INI file held whole in memory. Lines are trimmed; empty lines and lines starting
// with ";" are skipped; "[name]" opens a section; other lines of a section are
// key=value pairs trimmed around key and value; lines before the first section are
// ignored. Section and key names compare without regard to letter case; sections and
// keys are listed in file order. Texts are 8-bit strings kept byte for byte.
class IniFile
{
public:
    IniFile() = default;

    // A missing file reads as empty; a file that exists but cannot be read throws.
    static IniFile load(const std::filesystem::path &path);
    static IniFile parse(std::string_view text);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue = {}) const;
    int32_t readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int32_t value);
    void writeBool(std::string_view section, std::string_view key, bool value);

    std::vector<std::string> sections() const;
    std::vector<std::string> keys(std::string_view section) const;

    std::string toText() const;
    // Writes the whole file; throws with the path in the text when it cannot.
    void save(const std::filesystem::path &path) const;

private:
    struct Entry
    {
        std::string key;
        std::string value;
    };
    struct Section
    {
        std::string name;
        std::vector<Entry> entries;
    };

    const Section *findSection(std::string_view name) const;
    Section &sectionForWrite(std::string_view name);

    // A list, so that a section stays where it is while later ones are added.
    std::list<Section> m_sections;
};

} // namespace tamo
