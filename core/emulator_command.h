#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamo {

class IniFile;

// How a stage is tried in an emulator, kept in section "Emulator" of
// Config\application.ini: "Command", the command line started on a copy of the image,
// and "BootPatch", a BPS or IPS patch file applied to that copy only (none when empty).
struct EmulatorSettings
{
    std::string Command;
    std::string BootPatch;
};

EmulatorSettings ReadEmulatorSettings(const IniFile &ini);
void WriteEmulatorSettings(IniFile &ini, const EmulatorSettings &settings);

// The arguments of a command line split into its words, with the placeholders in each
// word put in: "%f" the path of the copy, "%l" the stage shown in decimal, "%%" a percent
// sign. The path stays inside its word whatever it holds (blanks, quotes, percent signs);
// a "%" before any other character stays as it is.
std::vector<std::string> ExpandEmulatorArguments(const std::vector<std::string> &words, const std::string &copyPath,
                                                 int32_t stage);

} // namespace tamo
