#include "files/program_folder.h"

#include "core/file_system.h"
#include "files/file_names.h"

#include <QStandardPaths>

#include <algorithm>

#include <system_error>

namespace tamo {

namespace {

// The name of the program's own folder among the user's folders. Qt's application
// locations would take the name from the organisation and application names instead.
const char *const userFolderName = "tamo-editor";

std::filesystem::path userFolder(QStandardPaths::StandardLocation location)
{
    return filePath(QStandardPaths::writableLocation(location)) / userFolderName;
}

std::string chipFileName(int32_t fgTilemap)
{
    return "chip" + std::to_string(fgTilemap) + ".bmp";
}

// Below /usr lie the system's own programs, which its package manager alone writes and
// removes: a copy there writes into the user's folders even when run by root, so that
// removing the package leaves nothing behind.
bool isSystemProgramFolder(const std::filesystem::path &dir)
{
    const std::filesystem::path system = "/usr";
    const std::filesystem::path absolute = std::filesystem::absolute(dir).lexically_normal();
    return std::mismatch(system.begin(), system.end(), absolute.begin(), absolute.end()).first == system.end();
}

} // namespace

UserFolders UserFolders::ofUser()
{
    return {userFolder(QStandardPaths::GenericConfigLocation), userFolder(QStandardPaths::GenericDataLocation)};
}

ProgramFolder::ProgramFolder(std::filesystem::path dir)
    : m_dir(std::move(dir))
{
}

ProgramFolder::ProgramFolder(std::filesystem::path dir, UserFolders user)
    : m_dir(std::move(dir))
    , m_user(std::move(user))
{
}

ProgramFolder ProgramFolder::ofProgramIn(std::filesystem::path dir)
{
    if (fs::isWritableFolder(dir) && !isSystemProgramFolder(dir))
        return ProgramFolder(std::move(dir));
    return ProgramFolder(std::move(dir), UserFolders::ofUser());
}

std::filesystem::path ProgramFolder::offsetsIni() const
{
    return dataFile("offsets.ini");
}

std::filesystem::path ProgramFolder::spriteIni() const
{
    return dataFile("sprite.ini");
}

std::filesystem::path ProgramFolder::chipBitmap(int32_t fgTilemap) const
{
    return dataFile(chipFileName(fgTilemap));
}

std::filesystem::path ProgramFolder::markBitmap() const
{
    return dataFile("mark.bmp");
}

std::filesystem::path ProgramFolder::applicationIni() const
{
    return settingsFolder() / "application.ini";
}

std::filesystem::path ProgramFolder::recoveryFolder() const
{
    return settingsFolder() / "recovery";
}

std::filesystem::path ProgramFolder::backupsFolder() const
{
    return (m_user ? m_user->data : m_dir) / "Backups";
}

void ProgramFolder::makeSettingsFolder() const
{
    if (!m_user)
        return;
    std::error_code error;
    // Kept from other users, as the user's other settings are; a failure shows when the
    // settings are written.
    if (std::filesystem::create_directories(m_user->config, error))
        std::filesystem::permissions(m_user->config, std::filesystem::perms::owner_all, error);
}

std::string ProgramFolder::chipBitmapName(int32_t fgTilemap)
{
    return "Data/" + chipFileName(fgTilemap);
}

std::filesystem::path ProgramFolder::dataFile(const std::string &name) const
{
    if (m_user) {
        std::error_code error;
        std::filesystem::path own = m_user->data / "Data" / name;
        if (std::filesystem::exists(own, error))
            return own;
    }
    return m_dir / "Data" / name;
}

std::filesystem::path ProgramFolder::settingsFolder() const
{
    return m_user ? m_user->config : m_dir / "Config";
}

} // namespace tamo
