#include "files/program_folder.h"

#include <QTemporaryDir>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>

namespace {

namespace stdfs = std::filesystem;

TEST(ProgramFolder, NamesEveryFixedPlaceBelowTheFolder)
{
    const stdfs::path dir = "/opt/tamo";
    const tamo::ProgramFolder folder(dir);
    EXPECT_EQ(folder.offsetsIni(), dir / "Data" / "offsets.ini");
    EXPECT_EQ(folder.spriteIni(), dir / "Data" / "sprite.ini");
    EXPECT_EQ(folder.markBitmap(), dir / "Data" / "mark.bmp");
    EXPECT_EQ(folder.applicationIni(), dir / "Config" / "application.ini");
    EXPECT_EQ(folder.recoveryFolder(), dir / "Config" / "recovery");
    EXPECT_EQ(folder.backupsFolder(), dir / "Backups");
}

TEST(ProgramFolder, ChipBitmapIsNumberedInDecimal)
{
    const stdfs::path dir = "/opt/tamo";
    const tamo::ProgramFolder folder(dir);
    EXPECT_EQ(folder.chipBitmap(12), dir / "Data" / "chip12.bmp");
    EXPECT_EQ(folder.chipBitmap(0), dir / "Data" / "chip0.bmp");
    EXPECT_EQ(tamo::ProgramFolder::chipBitmapName(12), "Data/chip12.bmp");
}

// Sets environment variables for one test and puts back what they were.
class Environment
{
public:
    ~Environment()
    {
        for (const auto &[name, value] : m_saved) {
            if (value)
                qputenv(name.c_str(), *value);
            else
                qunsetenv(name.c_str());
        }
    }

    void set(const char *name, const std::optional<stdfs::path> &value)
    {
        if (!m_saved.contains(name))
            m_saved[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        if (value)
            qputenv(name, QByteArray::fromStdString(value->string()));
        else
            qunsetenv(name);
    }

private:
    std::map<std::string, std::optional<QByteArray>> m_saved;
};

class InstalledCopy : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temp.isValid());
        stdfs::create_directories(program / "Data");
        stdfs::create_directories(program / "Config");
        environment.set("HOME", temp / "home");
        environment.set("XDG_CONFIG_HOME", temp / "config");
        environment.set("XDG_DATA_HOME", temp / "data");
    }

    void TearDown() override
    {
        // The folder goes with the test, whatever the test made read-only.
        stdfs::permissions(program, stdfs::perms::owner_all, stdfs::perm_options::add);
    }

    static void makeFile(const stdfs::path &path)
    {
        stdfs::create_directories(path.parent_path());
        std::ofstream(path) << "[Level name]\n";
    }

    void makeReadOnly()
    {
        const stdfs::perms write = stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write;
        stdfs::permissions(program, write, stdfs::perm_options::remove);
    }

    QTemporaryDir m_temp;
    const stdfs::path temp = m_temp.path().toStdString();
    const stdfs::path program = temp / "program";
    Environment environment;
};

TEST_F(InstalledCopy, WritableFolderKeepsEverythingBesideTheProgram)
{
    const tamo::ProgramFolder folder = tamo::ProgramFolder::ofProgramIn(program);
    EXPECT_EQ(folder.applicationIni(), program / "Config" / "application.ini");
    EXPECT_EQ(folder.recoveryFolder(), program / "Config" / "recovery");
    EXPECT_EQ(folder.backupsFolder(), program / "Backups");
    // A user's data file is not looked for.
    makeFile(temp / "data" / "tamo-editor" / "Data" / "offsets.ini");
    EXPECT_EQ(folder.offsetsIni(), program / "Data" / "offsets.ini");
    // Nor is Config/ made: beside the program it is the program folder's own.
    stdfs::remove(program / "Config");
    folder.makeSettingsFolder();
    EXPECT_FALSE(stdfs::exists(program / "Config"));
}

TEST_F(InstalledCopy, ReadOnlyFolderWritesIntoTheUsersFolders)
{
    makeReadOnly();
    const tamo::ProgramFolder folder = tamo::ProgramFolder::ofProgramIn(program);
    EXPECT_EQ(folder.dir(), program);
    EXPECT_EQ(folder.applicationIni(), temp / "config" / "tamo-editor" / "application.ini");
    EXPECT_EQ(folder.recoveryFolder(), temp / "config" / "tamo-editor" / "recovery");
    EXPECT_EQ(folder.backupsFolder(), temp / "data" / "tamo-editor" / "Backups");
    EXPECT_EQ(folder.spriteIni(), program / "Data" / "sprite.ini");
    makeFile(temp / "data" / "tamo-editor" / "Data" / "sprite.ini");
    EXPECT_EQ(folder.spriteIni(), temp / "data" / "tamo-editor" / "Data" / "sprite.ini");

    // A first run finds no settings folder; it is made, for its user alone.
    ASSERT_FALSE(stdfs::exists(temp / "config"));
    folder.makeSettingsFolder();
    const stdfs::perms made = stdfs::status(temp / "config" / "tamo-editor").permissions();
    EXPECT_EQ(made & stdfs::perms::all, stdfs::perms::owner_all);
}

TEST_F(InstalledCopy, SystemProgramsWriteIntoTheUsersFoldersEvenForRoot)
{
    // /usr/lib exists and root may write there: the place decides, not the permissions.
    const tamo::ProgramFolder folder = tamo::ProgramFolder::ofProgramIn("/usr/lib/../lib");
    EXPECT_EQ(folder.applicationIni(), temp / "config" / "tamo-editor" / "application.ini");
    EXPECT_EQ(folder.backupsFolder(), temp / "data" / "tamo-editor" / "Backups");
}

TEST_F(InstalledCopy, UnsetFoldersFallBackBelowHome)
{
    makeReadOnly();
    environment.set("XDG_CONFIG_HOME", std::nullopt);
    environment.set("XDG_DATA_HOME", "");
    const tamo::ProgramFolder folder = tamo::ProgramFolder::ofProgramIn(program);
    EXPECT_EQ(folder.applicationIni(), temp / "home" / ".config" / "tamo-editor" / "application.ini");
    EXPECT_EQ(folder.backupsFolder(), temp / "home" / ".local" / "share" / "tamo-editor" / "Backups");
}

TEST_F(InstalledCopy, EachDataFileComesFromTheUsersDataFolderFirst)
{
    const stdfs::path own = temp / "user" / "Data";
    const tamo::ProgramFolder folder(program, {temp / "settings", temp / "user"});
    makeFile(own / "offsets.ini");
    makeFile(own / "chip3.bmp");
    makeFile(program / "Data" / "sprite.ini");
    EXPECT_EQ(folder.offsetsIni(), own / "offsets.ini");
    EXPECT_EQ(folder.chipBitmap(3), own / "chip3.bmp");
    // The installed ones where the user has none, found there or not.
    EXPECT_EQ(folder.spriteIni(), program / "Data" / "sprite.ini");
    EXPECT_EQ(folder.chipBitmap(4), program / "Data" / "chip4.bmp");
    EXPECT_EQ(folder.markBitmap(), program / "Data" / "mark.bmp");
    EXPECT_EQ(folder.applicationIni(), temp / "settings" / "application.ini");
    EXPECT_EQ(folder.backupsFolder(), temp / "user" / "Backups");
}

} // namespace
