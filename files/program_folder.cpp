#include "files/program_folder.h"

namespace tamo {

ProgramFolder::ProgramFolder(std::filesystem::path dir)
    : m_dir(std::move(dir))
{
}

std::filesystem::path ProgramFolder::offsetsIni() const
{
    return m_dir / "Data" / "offsets.ini";
}

std::filesystem::path ProgramFolder::spriteIni() const
{
    return m_dir / "Data" / "sprite.ini";
}

std::filesystem::path ProgramFolder::chipBitmap(int32_t fgTilemap) const
{
    return m_dir / chipBitmapName(fgTilemap);
}

std::filesystem::path ProgramFolder::markBitmap() const
{
    return m_dir / "Data" / "mark.bmp";
}

std::filesystem::path ProgramFolder::applicationIni() const
{
    return m_dir / "Config" / "application.ini";
}

std::filesystem::path ProgramFolder::recoveryFolder() const
{
    return m_dir / "Config" / "recovery";
}

std::filesystem::path ProgramFolder::backupsFolder() const
{
    return m_dir / "Backups";
}

std::string ProgramFolder::chipBitmapName(int32_t fgTilemap)
{
    return "Data/chip" + std::to_string(fgTilemap) + ".bmp";
}

} // namespace tamo
