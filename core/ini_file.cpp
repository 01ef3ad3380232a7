#include "core/ini_file.h"

#include "core/blanks.h"
#include "core/file_system.h"
#include "core/integer_syntax.h"

#include <algorithm>
#include <cctype>

namespace tamo {
namespace {

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

} // namespace

IniFile IniFile::load(const std::filesystem::path &path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return {};
    const std::vector<uint8_t> bytes = fs::readWholeFile(path);
    return parse(std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
}

IniFile IniFile::parse(std::string_view text)
{
    IniFile ini;
    // A byte-order mark left by a text editor would hide the first section header.
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(ByteOrderMark))
        text.remove_prefix(ByteOrderMark.size());
    Section *current = nullptr;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        if (line.empty() || line.front() == ';')
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = &ini.sectionForWrite(trimmed(line.substr(1, line.size() - 2)));
            continue;
        }
        const size_t equals = line.find('=');
        if (!current || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        // A key written twice keeps its first value, as the lookups find the first.
        const bool known = std::any_of(current->entries.begin(), current->entries.end(),
                                       [&](const Entry &entry) { return sameName(entry.key, key); });
        if (!known)
            current->entries.push_back({std::string(key), std::string(trimmed(line.substr(equals + 1)))});
    }
    return ini;
}

const IniFile::Section *IniFile::findSection(std::string_view name) const
{
    const auto found = std::find_if(m_sections.begin(), m_sections.end(),
                                    [&](const Section &section) { return sameName(section.name, name); });
    return found == m_sections.end() ? nullptr : &*found;
}

IniFile::Section &IniFile::sectionForWrite(std::string_view name)
{
    for (Section &section : m_sections) {
        if (sameName(section.name, name))
            return section;
    }
    m_sections.push_back({std::string(name), {}});
    return m_sections.back();
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const Section *found = findSection(section);
    if (!found)
        return std::nullopt;
    for (const Entry &entry : found->entries) {
        if (sameName(entry.key, key))
            return entry.value;
    }
    return std::nullopt;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const
{
    return value(section, key).value_or(std::string(defaultValue));
}

int32_t IniFile::readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const
{
    const std::optional<std::string> text = value(section, key);
    return text ? tamo::readInteger(*text, defaultValue) : defaultValue;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    Section &target = sectionForWrite(section);
    for (Entry &entry : target.entries) {
        if (sameName(entry.key, key)) {
            entry.value = std::string(value);
            return;
        }
    }
    target.entries.push_back({std::string(key), std::string(value)});
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int32_t value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

std::vector<std::string> IniFile::sections() const
{
    std::vector<std::string> names;
    for (const Section &section : m_sections)
        names.push_back(section.name);
    return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const
{
    std::vector<std::string> names;
    if (const Section *found = findSection(section)) {
        for (const Entry &entry : found->entries)
            names.push_back(entry.key);
    }
    return names;
}

std::string IniFile::toText() const
{
    std::string text;
    for (const Section &section : m_sections) {
        if (!text.empty())
            text += "\n";
        text += "[" + section.name + "]\n";
        for (const Entry &entry : section.entries)
            text += entry.key + "=" + entry.value + "\n";
    }
    return text;
}

void IniFile::save(const std::filesystem::path &path) const
{
    const std::string text = toText();
    fs::writeWholeFile(path, std::span(reinterpret_cast<const uint8_t *>(text.data()), text.size()));
}

} // namespace tamo
