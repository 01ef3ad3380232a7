#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace tamo {

// The fixed places of the program's files, all below the folder of the program file: the
// data files it reads (Data/), its settings and journals (Config/) and the restore points
// of saved ROM files (Backups/).
class ProgramFolder
{
public:
    explicit ProgramFolder(std::filesystem::path dir);

    const std::filesystem::path &dir() const { return m_dir; }

    std::filesystem::path offsetsIni() const;
    std::filesystem::path spriteIni() const;
    // "Data\chip" + the tilemap number in decimal + ".bmp".
    std::filesystem::path chipBitmap(int32_t fgTilemap) const;
    std::filesystem::path markBitmap() const;

    std::filesystem::path applicationIni() const;
    std::filesystem::path recoveryFolder() const;
    std::filesystem::path backupsFolder() const;

    // The chip bitmap's name as the program's texts give it: "Data/chip12.bmp".
    static std::string chipBitmapName(int32_t fgTilemap);

private:
    std::filesystem::path m_dir;
};

} // namespace tamo
