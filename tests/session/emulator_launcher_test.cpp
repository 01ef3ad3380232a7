#include "session/emulator_launcher.h"

#include "core/emulator_presets.h"
#include "core/rom_error.h"
#include "tests/support/emulator_script.h"
#include "tests/support/patch_bytes.h"
#include "tests/support/temp_folder.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include <unistd.h>

namespace stdfs = std::filesystem;
using tamo::test::EmulatorScript;

namespace {

// How long a test waits for its script: far longer than it takes.
constexpr int scriptWaitMs = 20000;

// A launcher whose copies lie in a folder of the test's, with blanks and quotes in its
// name, and a script as the emulator.
class EmulatorLauncherTest : public testing::Test
{
protected:
    EmulatorLauncherTest()
    {
        stdfs::create_directory(scriptFolder);
        stdfs::create_directory(copiesParent.parent_path());
    }

    // The command with the script as its program, quoted as the user would.
    std::string command(const std::string &rest, const EmulatorScript &script) const
    {
        return "\"" + script.program.string() + "\" " + rest;
    }

    std::string launchError(const tamo::EmulatorSettings &settings)
    {
        try {
            launcher->launch(settings, image, "/roms/demo.smc", 22);
        } catch (const tamo::RomError &error) {
            return error.what();
        }
        return {};
    }

    stdfs::path runFolder() const { return copiesParent / ("run-" + std::to_string(::getpid())); }

    const tamo::test::TempFolder folder;
    const stdfs::path scriptFolder = folder.path / "script";
    const stdfs::path copiesParent = folder.path / "it's a \"quoted\" folder" / "copies";
    std::optional<EmulatorLauncher> launcher{std::in_place, copiesParent};
    const std::vector<uint8_t> image = tamo::test::RandomBytes(0x8000, 22);
};

// BPS: the whole source read, then 3 bytes written at offset 0x100, after the source
// CRC given.
std::vector<uint8_t> bpsPatch(const std::vector<uint8_t> &source, uint32_t sourceCrc, std::vector<uint8_t> &target)
{
    target = source;
    target[0x100] = 0xAA;
    target[0x101] = 0xBB;
    target[0x102] = 0xCC;
    tamo::test::PatchBytes patch;
    patch.text("BPS1").number(source.size()).number(target.size()).number(0);
    patch.number(((0x100 - 1) << 2) | 0);        // source read 0x100 bytes
    patch.number(((3 - 1) << 2) | 1).raw({0xAA, 0xBB, 0xCC}); // target read 3 bytes
    patch.number(((source.size() - 0x103 - 1) << 2) | 0);     // source read the rest
    return patch.bpsEnd(sourceCrc, tamo::test::ReferenceCrc32(target));
}

void writeFile(const stdfs::path &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

TEST_F(EmulatorLauncherTest, TheEmulatorGetsACopyNamedAsTheRomWithThePlaceholdersPutIn)
{
    const EmulatorScript script(scriptFolder);
    launcher->launch({command("%f --stage=%l 100%% \"two words\"", script), ""}, image,
                     "/roms/my \"best\" stage's.smc", 22);
    ASSERT_TRUE(QTest::qWaitFor([&] { return script.ran(); }, scriptWaitMs));
    const std::string copy = (runFolder() / "1" / "my \"best\" stage's.smc").string();
    EXPECT_EQ(script.arguments(), (std::vector<std::string>{copy, "--stage=22", "100%", "two words"}));
    EXPECT_EQ(script.rom(), image);
    EXPECT_EQ(stdfs::status(runFolder()).permissions(), stdfs::perms::owner_all);

    // A second test gets a copy of its own.
    stdfs::remove(scriptFolder / "arguments");
    launcher->launch({command("%f", script), ""}, image, "/roms/demo.smc", 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return script.ran(); }, scriptWaitMs));
    EXPECT_EQ(script.arguments(), std::vector<std::string>{(runFolder() / "2" / "demo.smc").string()});
    EXPECT_TRUE(stdfs::exists(copy));
}

TEST_F(EmulatorLauncherTest, TheBootPatchGoesIntoTheCopyOnlyAndOneThatDoesNotApplyStartsNothing)
{
    const EmulatorScript script(scriptFolder);
    std::vector<uint8_t> patched;
    const stdfs::path patchFile = folder.path / "start at stage 5.bps";
    writeFile(patchFile, bpsPatch(image, tamo::test::ReferenceCrc32(image), patched));
    const std::vector<uint8_t> before = image;
    launcher->launch({command("%f", script), patchFile.string()}, image, "/roms/demo.smc", 22);
    ASSERT_TRUE(QTest::qWaitFor([&] { return script.ran(); }, scriptWaitMs));
    EXPECT_EQ(script.rom(), patched);
    EXPECT_EQ(image, before);

    stdfs::remove(scriptFolder / "arguments");
    const stdfs::path otherPatch = folder.path / "for another image.bps";
    writeFile(otherPatch, bpsPatch(image, 0x12345678, patched));
    const std::string error = launchError({command("%f", script), otherPatch.string()});
    EXPECT_NE(error.find("for another image.bps"), std::string::npos) << error;
    EXPECT_NE(error.find("source CRC mismatch"), std::string::npos) << error;
    const std::string missing = launchError({command("%f", script), (folder.path / "gone.ips").string()});
    EXPECT_NE(missing.find("gone.ips"), std::string::npos) << missing;
    QTest::qWait(300);
    EXPECT_FALSE(script.ran());
    EXPECT_FALSE(stdfs::exists(runFolder() / "2"));
}

TEST_F(EmulatorLauncherTest, AMissingProgramAndOneThatFailsAreSaidWithTheCommandLine)
{
    QSignalSpy failures(&*launcher, &EmulatorLauncher::failed);
    const std::string missing = (folder.path / "no such emulator").string();
    launcher->launch({"\"" + missing + "\" %f", ""}, image, "/roms/demo.smc", 22);
    ASSERT_TRUE(QTest::qWaitFor([&] { return failures.size() == 1; }, scriptWaitMs));
    const QString notFound = failures.takeFirst().at(0).toString();
    EXPECT_TRUE(notFound.contains(QString::fromStdString("\"" + missing + "\" could not be started")))
        << notFound.toStdString();
    EXPECT_TRUE(notFound.contains(QString::fromStdString("Command line: \"" + missing + "\" %f")))
        << notFound.toStdString();

    const EmulatorScript failing(scriptFolder, 3);
    launcher->launch({command("%f", failing), ""}, image, "/roms/demo.smc", 22);
    ASSERT_TRUE(QTest::qWaitFor([&] { return failures.size() == 1; }, scriptWaitMs));
    const QString failed = failures.takeFirst().at(0).toString();
    EXPECT_TRUE(failed.contains(QStringLiteral("ended with exit code 3"))) << failed.toStdString();
    EXPECT_TRUE(failed.contains(QStringLiteral("first line of errors\nno cartridge for you"))) << failed.toStdString();
    EXPECT_TRUE(failed.contains(QString::fromStdString("Command line: " + command("%f", failing))))
        << failed.toStdString();

    EXPECT_NE(launchError({"   ", ""}).find("No emulator command"), std::string::npos);
}

TEST_F(EmulatorLauncherTest, TheCopiesGoWithTheLauncherAndTheEmulatorsStillRunningEnd)
{
    const EmulatorScript slow(scriptFolder, 0, 60);
    launcher->launch({command("%f", slow), ""}, image, "/roms/demo.smc", 22);
    ASSERT_TRUE(QTest::qWaitFor([&] { return slow.ran(); }, scriptWaitMs));
    ASSERT_TRUE(stdfs::exists(runFolder() / "1" / "demo.smc"));
    QElapsedTimer closing;
    closing.start();
    launcher.reset();
    EXPECT_FALSE(stdfs::exists(runFolder()));
    EXPECT_LT(closing.elapsed(), 30000);
}

TEST(EmulatorPresetCommand, AProgramInAFolderWithBlanksStaysOneWord)
{
    const tamo::test::TempFolder folder;
    const stdfs::path games = folder.path / "my \"games\" folder";
    stdfs::create_directory(games);
    std::ofstream(games / "ares") << "";
    stdfs::permissions(games / "ares", stdfs::perms::owner_all);
    const std::vector<tamo::EmulatorPreset> presets = tamo::FindEmulatorPresets({{}, {games}, {}});
    ASSERT_EQ(presets.size(), 1u);
    EXPECT_EQ(QProcess::splitCommand(QString::fromStdString(presets[0].command)),
              (QStringList{QString::fromStdString((games / "ares").string()), QStringLiteral("%f")}));
}
