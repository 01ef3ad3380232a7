#pragma once

#include "core/name_index.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tamo {

// An INI file held whole in memory. Lines are trimmed; empty lines and lines starting
// with ";" are skipped; "[name]" opens a section; other lines of a section are
// key=value pairs trimmed around key and value; lines before the first section are
// ignored. Section and key names compare without regard to letter case; sections and
// keys are listed in file order. Texts are 8-bit strings kept byte for byte. A section
// named again adds to the first of its name, and the first of two equal keys in a section
// is the one kept. Reading a file and each lookup take time in proportion to the text, not
// to the number of sections or keys.
class IniFile
{
public:
    struct Entry
    {
        std::string key;
        std::string value;
    };

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
    // The keys of a section with their values, in file order; none for a missing section.
    std::span<const Entry> entries(std::string_view section) const;

    std::string toText() const;
    // Writes the whole file; throws with the path in the text when it cannot.
    void save(const std::filesystem::path &path) const;

private:
    struct Section
    {
        std::string name;
        std::vector<Entry> entries;
        NameIndex keyIndex;

        auto keyAt() const
        {
            return [this](size_t i) -> std::string_view { return entries[i].key; };
        }
        // The entry's position, or NameIndex::Missing.
        size_t findEntry(std::string_view key) const;
        // Appends the entry unless its key is there already; false when it was.
        bool addEntry(std::string_view key, std::string_view value);
    };

    auto sectionNameAt() const
    {
        return [this](size_t i) -> std::string_view { return m_sections[i].name; };
    }
    const Section *findSection(std::string_view name) const;
    Section &sectionForWrite(std::string_view name);

    std::vector<Section> m_sections;
    NameIndex m_sectionIndex;
};

} // namespace tamo
