// The command line of tamo-cli: dispatch, help, number syntax, --home and the exit
// statuses of usage errors.
#include "tests/cli/small_rom.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

using CommandLineTest = SmallRomTest;

TEST_F(CommandLineTest, NoCommandIsAUsageError)
{
    const CliRun run = runTamoCli({});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.oneErrorLine()) << run.err.constData();
    EXPECT_TRUE(run.out.isEmpty());
}

TEST_F(CommandLineTest, UnknownCommandIsAUsageError)
{
    const CliRun run = cli({"frobnicate", rom(), "1"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.oneErrorLine());
    EXPECT_TRUE(run.err.contains("frobnicate"));
}

TEST_F(CommandLineTest, WrongArgumentCountIsAUsageError)
{
    EXPECT_EQ(cli({"info", rom()}).exitCode, 2);
    EXPECT_EQ(cli({"info", rom(), "1", "2"}).exitCode, 2);
    EXPECT_EQ(cli({"stages", "extra"}).exitCode, 2);
    EXPECT_EQ(cli({"set-settings", rom(), "1"}).exitCode, 2);
}

TEST_F(CommandLineTest, UnknownOptionIsAUsageError)
{
    EXPECT_EQ(cli({"info", "--bogus", rom(), "1"}).exitCode, 2);
    // --dry-run belongs to the edit commands only.
    EXPECT_EQ(cli({"info", "--dry-run", rom(), "1"}).exitCode, 2);
}

TEST_F(CommandLineTest, StageNumbersReadTheIntegerSyntax)
{
    const QJsonDocument decimal = cli({"info", rom(), "1"}).json();
    ASSERT_TRUE(decimal.isObject());
    EXPECT_EQ(decimal["stage"].toInt(), 1);
    for (const QString &text : {QStringLiteral("$1"), QStringLiteral("0x1"), QStringLiteral("0X01"),
                                QStringLiteral("+1")}) {
        const CliRun run = cli({"info", rom(), text});
        EXPECT_EQ(run.exitCode, 0) << text.toStdString();
        EXPECT_EQ(run.json(), decimal) << text.toStdString();
    }
}

TEST_F(CommandLineTest, BlanksAroundNumberArgumentsDoNotCount)
{
    const QJsonDocument decimal = cli({"info", rom(), "1"}).json();
    ASSERT_TRUE(decimal.isObject());
    EXPECT_EQ(cli({"info", rom(), " 1"}).json(), decimal);

    // "-1 " is a number too, not an option.
    const CliRun run = cli({"set-camera", rom(), "1 ", " 0", "-1 ", "\t0x40 "});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const int32_t record = offsets.BaseCamera + CameraPointer - 4 + 8;
    const auto bytes = romFile();
    EXPECT_EQ(bytes[record], 0xFF);
    EXPECT_EQ(bytes[record + 1], 0xFF);
    EXPECT_EQ(bytes[record + 2], 0x40);
    EXPECT_EQ(bytes[record + 3], 0x00);
}

TEST_F(CommandLineTest, BadStageNumbersAreUsageErrors)
{
    const auto before = romFile();
    for (const QString &text : {QStringLiteral("abc"), QStringLiteral(""), QStringLiteral("0x"),
                                QStringLiteral("230"), QStringLiteral("-1"), QStringLiteral("1.5")}) {
        const CliRun run = cli({"set-tile", rom(), text, "0", "0", "1"});
        EXPECT_EQ(run.exitCode, 2) << text.toStdString();
        EXPECT_TRUE(run.oneErrorLine()) << text.toStdString();
    }
    EXPECT_EQ(romFile(), before);
}

TEST_F(CommandLineTest, NegativeNumbersAreArgumentsNotOptions)
{
    // -1 cut to 16 bits is 0xFFFF: camera 0 becomes the list's terminator.
    const CliRun run = cli({"set-camera", rom(), "1", "0", "-1", "-$10"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonDocument cameras = cli({"cameras", rom(), "1"}).json();
    EXPECT_TRUE(cameras["records"].toArray().isEmpty());
    const int32_t record = offsets.BaseCamera + CameraPointer - 4 + 8;
    const auto bytes = romFile();
    EXPECT_EQ(bytes[record], 0xFF);
    EXPECT_EQ(bytes[record + 1], 0xFF);
    EXPECT_EQ(bytes[record + 2], 0xF0); // -16
    EXPECT_EQ(bytes[record + 3], 0xFF);
}

TEST_F(CommandLineTest, HelpListsEveryCommand)
{
    const CliRun run = runTamoCli({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char *command : {"stages", "info", "sprites", "cameras", "bananas", "settings", "tiles",
                                "set-tile", "set-sprite", "set-camera", "set-banana", "set-settings",
                                "make-demo"}) {
        EXPECT_TRUE(run.out.contains(command)) << command;
    }
}

TEST_F(CommandLineTest, CommandHelpExplainsTheCommand)
{
    for (const QStringList &arguments : {QStringList{"set-sprite", "--help"}, QStringList{"--help", "set-sprite"}}) {
        const CliRun run = runTamoCli(arguments);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.contains("ROM STAGE INDEX PARAM X Y TYPE"));
        EXPECT_TRUE(run.out.contains("--dry-run"));
    }
    const CliRun info = runTamoCli({"info", "-h"});
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_FALSE(info.out.contains("--dry-run"));
}

TEST_F(CommandLineTest, SetSettingsHelpNamesEveryKeyOfSettings)
{
    const QJsonObject settings = cli({"settings", rom(), "1"}).json().object();
    ASSERT_FALSE(settings.isEmpty());
    const QString help = QString::fromUtf8(runTamoCli({"set-settings", "--help"}).out);
    for (const QString &key : settings.keys())
        EXPECT_TRUE(help.contains(key)) << key.toStdString();
}

TEST_F(CommandLineTest, HomeFolderGivesTheDataFiles)
{
    // With the folder's offsets.ini, stage 1's FG word 0x000C leads to tilemap 12.
    EXPECT_EQ(cli({"info", rom(), "1"}).json()["fg_tilemap"].toInt(), 12);
    // The option also works after the command.
    const CliRun after = runTamoCli({"info", rom(), "1", "--home", qPath(home)});
    EXPECT_EQ(after.json()["fg_tilemap"].toInt(), 12);
    // A folder without Data/ gives the defaults: the FG table then lies outside this ROM.
    QTemporaryDir empty;
    const CliRun bare = runTamoCli({"--home", empty.path(), "info", rom(), "1"});
    EXPECT_EQ(bare.exitCode, 1);
    EXPECT_TRUE(bare.oneErrorLine());
}

TEST_F(CommandLineTest, MissingHomeFolderIsAnError)
{
    const CliRun run = runTamoCli({"--home", qPath(home / "missing"), "stages"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.oneErrorLine());
    EXPECT_TRUE(run.err.contains(qPath(home / "missing").toUtf8())) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

TEST_F(CommandLineTest, MissingRomFailsWithItsPath)
{
    const QString missing = qPath(home / "nothing.smc");
    const CliRun run = cli({"sprites", missing, "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.oneErrorLine());
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(missing));
    EXPECT_TRUE(run.out.isEmpty());
}

TEST_F(CommandLineTest, AFolderIsNoRom)
{
    const CliRun run = cli({"info", qPath(home), "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.oneErrorLine()) << run.err.constData();
}

TEST_F(CommandLineTest, MakeDemoIntoAFileFails)
{
    // The ROM file stands where the folder would have to be made.
    const CliRun run = runTamoCli({"make-demo", qPath(romPath / "demo")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.oneErrorLine()) << run.err.constData();
}

} // namespace
