#pragma once

#include "core/name_index.h"

#include <cstdint>
#include <filesystem>
#include <optional>
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
    // Calls visit(key, value) for each key of the section, in file order; the texts are
    // views that last until the file is next written to.
    template<typename Visit>
    void forEachEntry(std::string_view section, const Visit &visit) const
    {
        if (const Section *found = findSection(section)) {
            for (const Entry &entry : found->entries)
                visit(textOf(entry.key), textOf(entry.value));
        }
    }

    std::string toText() const;
    // Writes the whole file; throws with the path in the text when it cannot.
    void save(const std::filesystem::path &path) const;

private:
    // All names and values are kept in m_text, each as its place there: the file's own
    // text, followed by what was written since. No name or value needs a string of its
    // own, and a copy of the file is right as it is.
    struct Text
    {
        uint32_t start = 0;
        uint32_t length = 0;
    };
    struct Entry
    {
        Text key;
        Text value;
    };
    struct Section
    {
        Text name;
        std::vector<Entry> entries;
        NameIndex keyIndex;
    };

    explicit IniFile(std::vector<uint8_t> text);

    std::string_view textOf(Text text) const
    {
        return {reinterpret_cast<const char *>(m_text.data()) + text.start, text.length};
    }
    Text textAt(std::string_view part) const; // part lies inside m_text
    // Appends the text to m_text; it must not be a view into m_text.
    Text appended(std::string_view text);

    const Section *findSection(std::string_view name) const;
    Section &sectionForWrite(Text name);
    // The entry's position in the section, or NameIndex::Missing.
    size_t findEntry(const Section &section, std::string_view key) const;
    // Appends the entry unless its key is there already; the position of the entry with
    // that key, new or old.
    size_t addEntry(Section &section, Text key, Text value);

    std::vector<uint8_t> m_text;
    std::vector<Section> m_sections;
    NameIndex m_sectionIndex;
};

} // namespace tamo
