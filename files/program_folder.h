#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace tamo {

// The user's own folders for the program: where a copy its user cannot write to keeps its
// settings, journals and restore points, and where the user may put data files that come
// before the ones installed with the program.
struct UserFolders
{
    std::filesystem::path config; // the settings and the recovery journals
    std::filesystem::path data;   // Data/ of the user's own, and Backups/

    // $XDG_CONFIG_HOME/tamo-editor and $XDG_DATA_HOME/tamo-editor, below ~/.config and
    // ~/.local/share where those are not set.
    static UserFolders ofUser();
};

// The fixed places of the program's files: the data files it reads (Data/), its settings
// and journals (Config/) and the restore points of saved ROM files (Backups/). A copy in
// a folder its user owns keeps all of them below the folder of the program file; an
// installed copy writes into the user's folders instead and reads each data file from the
// user's Data/ where it is there, from the program's own otherwise.
class ProgramFolder
{
public:
    // Everything below dir.
    explicit ProgramFolder(std::filesystem::path dir);
    // The data files installed in dir, everything written into the user's folders.
    ProgramFolder(std::filesystem::path dir, UserFolders user);

    // The folder of a program file in dir: everything beside it while its user can write
    // there and it lies outside /usr, the user's folders otherwise.
    static ProgramFolder ofProgramIn(std::filesystem::path dir);

    const std::filesystem::path &dir() const { return m_dir; }

    std::filesystem::path offsetsIni() const;
    std::filesystem::path spriteIni() const;
    // "Data\chip" + the tilemap number in decimal + ".bmp".
    std::filesystem::path chipBitmap(int32_t fgTilemap) const;
    std::filesystem::path markBitmap() const;

    std::filesystem::path applicationIni() const;
    std::filesystem::path recoveryFolder() const;
    std::filesystem::path backupsFolder() const;

    // Makes the folder of the settings where it is the user's, which a first run finds
    // missing. Config/ beside the program belongs to the program's folder as it was set up,
    // and is left as it is.
    void makeSettingsFolder() const;

    // The chip bitmap's name as the program's texts give it: "Data/chip12.bmp".
    static std::string chipBitmapName(int32_t fgTilemap);

private:
    // name is below Data/.
    std::filesystem::path dataFile(const std::string &name) const;
    std::filesystem::path settingsFolder() const;

    std::filesystem::path m_dir;
    std::optional<UserFolders> m_user;
};

} // namespace tamo
