#include "core/emulator_presets.h"

#include <algorithm>
#include <optional>
#include <system_error>

namespace tamo {
namespace {

bool isProgram(const std::filesystem::path &file)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    using std::filesystem::perms;
    return !error && std::filesystem::is_regular_file(status)
        && (status.permissions() & (perms::owner_exec | perms::group_exec | perms::others_exec)) != perms::none;
}

// A word of the command line as the splitting of command lines reads it back.
std::string commandWord(const std::string &text)
{
    if (text.find_first_of(" \t\"") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"\"") : std::string(1, c);
    return quoted + "\"";
}

// How the command names the program: by its name where the PATH finds it.
std::optional<std::string> findProgram(const EmulatorPlaces &places, const std::string &name)
{
    for (const std::filesystem::path &folder : places.pathFolders) {
        if (isProgram(folder / name))
            return name;
    }
    for (const std::filesystem::path &folder : places.otherFolders) {
        if (isProgram(folder / name))
            return commandWord((folder / name).string());
    }
    return std::nullopt;
}

std::vector<std::filesystem::path> bsnesMercuryCores(const std::vector<std::filesystem::path> &folders)
{
    std::vector<std::filesystem::path> cores;
    for (const std::filesystem::path &folder : folders) {
        std::error_code error;
        std::vector<std::filesystem::path> found;
        for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            const std::string name = entry->path().filename().string();
            std::error_code ignored;
            if (name.starts_with("bsnes_mercury_") && name.ends_with("_libretro.so") && entry->is_regular_file(ignored))
                found.push_back(entry->path());
        }
        std::sort(found.begin(), found.end());
        cores.insert(cores.end(), found.begin(), found.end());
    }
    return cores;
}

} // namespace

EmulatorPlaces SystemEmulatorPlaces(const std::string &pathVariable)
{
    EmulatorPlaces places;
    for (size_t start = 0; start <= pathVariable.size();) {
        const size_t end = std::min(pathVariable.find(':', start), pathVariable.size());
        // An empty entry of the PATH is the current folder, which holds no emulator of ours.
        if (end > start)
            places.pathFolders.emplace_back(pathVariable.substr(start, end - start));
        start = end + 1;
    }
    places.otherFolders = {"/usr/games", "/usr/local/games"};
    places.libretroFolders = {"/usr/lib/x86_64-linux-gnu/libretro", "/usr/lib/aarch64-linux-gnu/libretro",
                              "/usr/lib/i386-linux-gnu/libretro", "/usr/lib/libretro", "/usr/local/lib/libretro"};
    return places;
}

std::vector<EmulatorPreset> FindEmulatorPresets(const EmulatorPlaces &places)
{
    std::vector<EmulatorPreset> presets;
    if (const std::optional<std::string> mednafen = findProgram(places, "mednafen"))
        presets.push_back({"Mednafen", *mednafen + " %f"});
    if (const std::optional<std::string> ares = findProgram(places, "ares"))
        presets.push_back({"ares", *ares + " %f"});
    if (const std::optional<std::string> retroarch = findProgram(places, "retroarch")) {
        for (const std::filesystem::path &core : bsnesMercuryCores(places.libretroFolders))
            presets.push_back({"RetroArch, " + core.stem().string(), *retroarch + " -L " + commandWord(core.string()) + " %f"});
    }
    return presets;
}

} // namespace tamo
