#include "core/ini_file.h"

#include "core/blanks.h"
#include "core/file_system.h"
#include "core/integer_syntax.h"
#include "core/rom_error.h"

#include <limits>

namespace tamo {
namespace {

void requireOffsets(size_t textSize)
{
    if (textSize > std::numeric_limits<uint32_t>::max())
        throw RomError("an INI file of more than 4 GiB cannot be held");
}

} // namespace

IniFile::IniFile(std::vector<uint8_t> text)
    : m_text(std::move(text))
{
    requireOffsets(m_text.size());
    std::string_view rest(reinterpret_cast<const char *>(m_text.data()), m_text.size());
    // A byte-order mark left by a text editor would hide the first section header.
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (rest.starts_with(ByteOrderMark))
        rest.remove_prefix(ByteOrderMark.size());
    Section *current = nullptr;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = trimmed(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);

        if (line.empty() || line.front() == ';')
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = &sectionForWrite(textAt(trimmed(line.substr(1, line.size() - 2))));
            continue;
        }
        const size_t equals = line.find('=');
        if (!current || equals == std::string_view::npos)
            continue;
        // A key written twice keeps its first value.
        addEntry(*current, textAt(trimmed(line.substr(0, equals))), textAt(trimmed(line.substr(equals + 1))));
    }
}

IniFile IniFile::load(const std::filesystem::path &path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return {};
    return IniFile(fs::readWholeFile(path));
}

IniFile IniFile::parse(std::string_view text)
{
    return IniFile(std::vector<uint8_t>(text.begin(), text.end()));
}

IniFile::Text IniFile::textAt(std::string_view part) const
{
    return {static_cast<uint32_t>(part.data() - reinterpret_cast<const char *>(m_text.data())),
            static_cast<uint32_t>(part.size())};
}

IniFile::Text IniFile::appended(std::string_view text)
{
    requireOffsets(m_text.size() + text.size());
    m_text.insert(m_text.end(), text.begin(), text.end());
    return {static_cast<uint32_t>(m_text.size() - text.size()), static_cast<uint32_t>(text.size())};
}

size_t IniFile::findEntry(const Section &section, std::string_view key) const
{
    return section.keyIndex.find(key, [&](size_t i) { return textOf(section.entries[i].key); });
}

size_t IniFile::addEntry(Section &section, Text key, Text value)
{
    const size_t position = section.entries.size();
    const size_t found = section.keyIndex.findOrAdd(textOf(key), position,
                                                    [&](size_t i) { return textOf(section.entries[i].key); });
    if (found == position)
        section.entries.push_back({key, value});
    return found;
}

const IniFile::Section *IniFile::findSection(std::string_view name) const
{
    const size_t position = m_sectionIndex.find(name, [this](size_t i) { return textOf(m_sections[i].name); });
    return position == NameIndex::Missing ? nullptr : &m_sections[position];
}

IniFile::Section &IniFile::sectionForWrite(Text name)
{
    const size_t count = m_sections.size();
    const size_t position
        = m_sectionIndex.findOrAdd(textOf(name), count, [this](size_t i) { return textOf(m_sections[i].name); });
    if (position == count)
        m_sections.push_back({name, {}, {}});
    return m_sections[position];
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const Section *found = findSection(section);
    if (!found)
        return std::nullopt;
    const size_t position = findEntry(*found, key);
    if (position == NameIndex::Missing)
        return std::nullopt;
    return std::string(textOf(found->entries[position].value));
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
    // Copied first, as they may be views into m_text, which grows below. A name that is
    // there already is appended all the same: what is written is little, and only the
    // places the entries name are ever read.
    const std::string sectionName(section);
    const std::string keyName(key);
    const std::string valueText(value);
    const Text keyPlace = appended(keyName);
    const Text valuePlace = appended(valueText);
    Section &target = sectionForWrite(appended(sectionName));
    target.entries[addEntry(target, keyPlace, valuePlace)].value = valuePlace;
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
        names.emplace_back(textOf(section.name));
    return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const
{
    std::vector<std::string> names;
    forEachEntry(section, [&](std::string_view key, std::string_view) { names.emplace_back(key); });
    return names;
}

std::string IniFile::toText() const
{
    std::string text;
    for (const Section &section : m_sections) {
        if (!text.empty())
            text += "\n";
        text.append("[").append(textOf(section.name)).append("]\n");
        for (const Entry &entry : section.entries)
            text.append(textOf(entry.key)).append("=").append(textOf(entry.value)).append("\n");
    }
    return text;
}

void IniFile::save(const std::filesystem::path &path) const
{
    const std::string text = toText();
    fs::writeWholeFile(path, std::span(reinterpret_cast<const uint8_t *>(text.data()), text.size()));
}

} // namespace tamo
