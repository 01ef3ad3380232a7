#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tamo {

// A command line for an emulator found on this system, as the emulator dialog offers it.
struct EmulatorPreset
{
    std::string name;
    std::string command;
};

// Where emulators are looked for: the folders of the PATH, other folders where systems
// put them without putting those on the PATH (Debian's /usr/games), and the folders of
// the libretro cores.
struct EmulatorPlaces
{
    std::vector<std::filesystem::path> pathFolders;
    std::vector<std::filesystem::path> otherFolders;
    std::vector<std::filesystem::path> libretroFolders;
};

// The places of this system: the PATH given (folders split at ':'), /usr/games and
// /usr/local/games, and the libretro folders below /usr/lib and /usr/local/lib.
EmulatorPlaces SystemEmulatorPlaces(const std::string &pathVariable);

// The presets for the emulators found: "mednafen %f", "ares %f", and "retroarch -L CORE %f"
// for each bsnes-mercury core (bsnes_mercury_*_libretro.so) found. A program found only in
// one of the other folders is named by its whole path; a path with blanks is quoted.
std::vector<EmulatorPreset> FindEmulatorPresets(const EmulatorPlaces &places);

} // namespace tamo
