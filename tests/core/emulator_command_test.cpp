#include "core/emulator_command.h"
#include "core/emulator_presets.h"
#include "core/file_system.h"
#include "core/ini_file.h"
#include "core/rom_error.h"
#include "core/test_copy_folder.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>

#include <unistd.h>

namespace stdfs = std::filesystem;

namespace {

using Words = std::vector<std::string>;

void writeFile(const stdfs::path &path, const std::string &text, stdfs::perms mode = stdfs::perms::owner_read)
{
    std::ofstream(path, std::ios::binary) << text;
    stdfs::permissions(path, mode);
}

size_t entriesIn(const stdfs::path &folder)
{
    return size_t(std::distance(stdfs::directory_iterator(folder), stdfs::directory_iterator()));
}

} // namespace

TEST(EmulatorCommand, PlaceholdersArePutIntoEachWordOnceAndOtherPercentSignsStay)
{
    const std::string copy = "/tmp/a b/it's \"x\" %l 50%%.smc";
    EXPECT_EQ(tamo::ExpandEmulatorArguments({"emu", "--rom=%f", "-stage", "%l", "100%%", "%x", "50%", "%%f", "%f%l"},
                                            copy, 7),
              (Words{"emu", "--rom=/tmp/a b/it's \"x\" %l 50%%.smc", "-stage", "7", "100%", "%x", "50%", "%f",
                     "/tmp/a b/it's \"x\" %l 50%%.smc7"}));
    EXPECT_EQ(tamo::ExpandEmulatorArguments({"%l"}, copy, 229), Words{"229"});
}

TEST(EmulatorCommand, SettingsLiveInSectionEmulatorOfTheSettingsFile)
{
    const tamo::IniFile read
        = tamo::IniFile::parse("[emulator]\ncommand = mednafen -force_module snes %f\nBOOTPATCH=/patches/start.bps\n");
    const tamo::EmulatorSettings settings = tamo::ReadEmulatorSettings(read);
    EXPECT_EQ(settings.Command, "mednafen -force_module snes %f");
    EXPECT_EQ(settings.BootPatch, "/patches/start.bps");

    const tamo::EmulatorSettings none = tamo::ReadEmulatorSettings(tamo::IniFile());
    EXPECT_EQ(none.Command, "");
    EXPECT_EQ(none.BootPatch, "");

    tamo::IniFile written;
    tamo::WriteEmulatorSettings(written, {"ares %f", ""});
    EXPECT_EQ(written.toText(), "[Emulator]\nCommand=ares %f\nBootPatch=\n");
}

TEST(EmulatorPresets, FindsTheEmulatorsThatArePrograms)
{
    const tamo::test::TempFolder folder;
    const stdfs::path bin = folder.path / "bin";
    const stdfs::path games = folder.path / "games folder";
    const stdfs::path libretro = folder.path / "libretro";
    for (const stdfs::path &dir : {bin, games, libretro})
        stdfs::create_directory(dir);
    const stdfs::perms program = stdfs::perms::owner_read | stdfs::perms::owner_exec;
    writeFile(bin / "ares", "", program);
    writeFile(bin / "retroarch", "", program);
    // Not a program: it may not be run.
    writeFile(bin / "mednafen", "");
    writeFile(games / "mednafen", "", program);
    writeFile(libretro / "bsnes_mercury_performance_libretro.so", "");
    writeFile(libretro / "bsnes_mercury_accuracy_libretro.so", "");
    writeFile(libretro / "snes9x_libretro.so", "");

    const std::vector<tamo::EmulatorPreset> presets
        = tamo::FindEmulatorPresets({{folder.path / "missing", bin}, {games}, {libretro}});
    ASSERT_EQ(presets.size(), 4u);
    EXPECT_EQ(presets[0].command, "\"" + (games / "mednafen").string() + "\" %f");
    EXPECT_EQ(presets[1].command, "ares %f");
    EXPECT_EQ(presets[2].command, "retroarch -L " + (libretro / "bsnes_mercury_accuracy_libretro.so").string() + " %f");
    EXPECT_EQ(presets[3].command,
              "retroarch -L " + (libretro / "bsnes_mercury_performance_libretro.so").string() + " %f");

    // Without a core, retroarch has no preset.
    EXPECT_EQ(tamo::FindEmulatorPresets({{bin}, {}, {}}).size(), 1u);
}

TEST(EmulatorPresets, ThePathIsSplitAtItsColonsAndDebiansGamesFolderIsSearchedToo)
{
    const tamo::EmulatorPlaces places = tamo::SystemEmulatorPlaces("/usr/local/bin::/usr/bin:");
    EXPECT_EQ(places.pathFolders, (std::vector<stdfs::path>{"/usr/local/bin", "/usr/bin"}));
    EXPECT_NE(std::find(places.otherFolders.begin(), places.otherFolders.end(), stdfs::path("/usr/games")),
              places.otherFolders.end());
    EXPECT_NE(std::find(places.libretroFolders.begin(), places.libretroFolders.end(),
                        stdfs::path("/usr/lib/x86_64-linux-gnu/libretro")),
              places.libretroFolders.end());
}

TEST(TestCopyFolder, TheCopiesOfRunsThatAreNotRunningAreRemovedAtTheStartOfTheNext)
{
    const tamo::test::TempFolder folder;
    const stdfs::path parent = folder.path / "copies";
    stdfs::create_directory(parent);
    stdfs::permissions(parent, stdfs::perms::owner_all);
    // No process has a number this high (the system's limit is lower).
    const stdfs::path killed = parent / "run-99999999";
    const stdfs::path running = parent / ("run-" + std::to_string(::getppid()));
    const stdfs::path other = parent / "run-notes";
    for (const stdfs::path &dir : {killed, running, other}) {
        stdfs::create_directories(dir / "1");
        writeFile(dir / "1" / "demo.smc", "image");
    }
    const tamo::TestCopyFolder copies(parent);
    EXPECT_FALSE(stdfs::exists(killed));
    EXPECT_TRUE(stdfs::exists(running / "1" / "demo.smc"));
    EXPECT_TRUE(stdfs::exists(other / "1" / "demo.smc"));
}

TEST(TestCopyFolder, ACopyThatCannotBeWrittenSaysWhyAndLeavesNothing)
{
    const tamo::test::TempFolder folder;
    const stdfs::path parent = folder.path / "copies";
    tamo::TestCopyFolder copies(parent);
    // A full disk: neither a copy beside the file nor the file itself takes the bytes.
    tamo::fs::SetSaveFaults([](tamo::fs::SaveStep step) {
        return step == tamo::fs::SaveStep::WriteCopy || step == tamo::fs::SaveStep::WriteInPlace ? ENOSPC : 0;
    });
    std::optional<std::string> error;
    try {
        copies.writeCopy("demo.smc", std::vector<uint8_t>(4096, 7));
    } catch (const tamo::RomError &caught) {
        error = caught.what();
    }
    tamo::fs::SetSaveFaults({});
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("demo.smc"), std::string::npos) << *error;
    EXPECT_NE(error->find(std::strerror(ENOSPC)), std::string::npos) << *error;
    EXPECT_EQ(entriesIn(copies.runFolder()), 0u);
}

TEST(TestCopyFolder, AParentThatOthersMayEnterOrThatIsALinkIsRefused)
{
    const tamo::test::TempFolder folder;
    const stdfs::path open = folder.path / "open";
    stdfs::create_directory(open);
    stdfs::permissions(open, stdfs::perms::all);
    tamo::TestCopyFolder inOpen(open);
    EXPECT_THROW(inOpen.writeCopy("demo.smc", std::vector<uint8_t>{1}), tamo::RomError);

    const stdfs::path real = folder.path / "real";
    stdfs::create_directory(real);
    stdfs::permissions(real, stdfs::perms::owner_all);
    stdfs::create_directory_symlink(real, folder.path / "link");
    tamo::TestCopyFolder throughLink(folder.path / "link");
    EXPECT_THROW(throughLink.writeCopy("demo.smc", std::vector<uint8_t>{1}), tamo::RomError);
    EXPECT_EQ(entriesIn(real), 0u);
}
