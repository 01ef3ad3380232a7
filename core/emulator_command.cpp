#include "core/emulator_command.h"

#include "core/ini_file.h"

namespace tamo {
namespace {

constexpr const char *Section = "Emulator";
constexpr const char *CommandKey = "Command";
constexpr const char *BootPatchKey = "BootPatch";

std::string expandWord(const std::string &word, const std::string &copyPath, int32_t stage)
{
    std::string expanded;
    for (size_t at = 0; at < word.size(); ++at) {
        const char next = at + 1 < word.size() ? word[at + 1] : '\0';
        if (word[at] != '%' || (next != 'f' && next != 'l' && next != '%')) {
            expanded += word[at];
            continue;
        }
        if (next == 'f')
            expanded += copyPath;
        else if (next == 'l')
            expanded += std::to_string(stage);
        else
            expanded += '%';
        ++at;
    }
    return expanded;
}

} // namespace

EmulatorSettings ReadEmulatorSettings(const IniFile &ini)
{
    return {ini.readString(Section, CommandKey), ini.readString(Section, BootPatchKey)};
}

void WriteEmulatorSettings(IniFile &ini, const EmulatorSettings &settings)
{
    ini.writeString(Section, CommandKey, settings.Command);
    ini.writeString(Section, BootPatchKey, settings.BootPatch);
}

std::vector<std::string> ExpandEmulatorArguments(const std::vector<std::string> &words, const std::string &copyPath,
                                                 int32_t stage)
{
    std::vector<std::string> arguments;
    arguments.reserve(words.size());
    for (const std::string &word : words)
        arguments.push_back(expandWord(word, copyPath, stage));
    return arguments;
}

} // namespace tamo
