#include "core/ini_file.h"

#include "core/file_system.h"
#include "core/integer_syntax.h"

namespace tamo {
namespace {

std::string_view trimmed(std::string_view text)
{
    const auto isBlank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
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
        // A key written twice keeps its first value.
        current->addEntry(trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)));
    }
    return ini;
}

size_t IniFile::Section::findEntry(std::string_view key) const
{
    return keyIndex.find(key, keyAt());
}

bool IniFile::Section::addEntry(std::string_view key, std::string_view value)
{
    const size_t position = entries.size();
    if (keyIndex.findOrAdd(key, position, keyAt()) != position)
        return false;
    entries.push_back({std::string(key), std::string(value)});
    return true;
}

const IniFile::Section *IniFile::findSection(std::string_view name) const
{
    const size_t position = m_sectionIndex.find(name, sectionNameAt());
    return position == NameIndex::Missing ? nullptr : &m_sections[position];
}

IniFile::Section &IniFile::sectionForWrite(std::string_view name)
{
    const size_t count = m_sections.size();
    const size_t position = m_sectionIndex.findOrAdd(name, count, sectionNameAt());
    if (position == count)
        m_sections.push_back({std::string(name), {}, {}});
    return m_sections[position];
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const Section *found = findSection(section);
    if (!found)
        return std::nullopt;
    const size_t position = found->findEntry(key);
    return position == NameIndex::Missing ? std::nullopt : std::optional<std::string>(found->entries[position].value);
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
    if (!target.addEntry(key, value))
        target.entries[target.findEntry(key)].value = std::string(value);
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
    for (const Entry &entry : entries(section))
        names.push_back(entry.key);
    return names;
}

std::span<const IniFile::Entry> IniFile::entries(std::string_view section) const
{
    const Section *found = findSection(section);
    return found ? std::span<const Entry>(found->entries) : std::span<const Entry>();
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
