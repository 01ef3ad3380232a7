// File names that are not UTF-8, through tamo-cli and the name conversions it shares with the
// editor.
#include "files/file_names.h"
#include "tests/cli/small_rom.h"

#include <QProcess>

namespace {

// "latin" + 0xE9 + " name.smc": a Latin-1 e-acute, which is no UTF-8.
const std::string LatinName = "latin\xE9 name.smc";

TEST(FileNames, BytesThatAreNotUtf8SurviveTheTextWayAndBack)
{
    EXPECT_EQ(tamo::textFromBytes("latin\xE9 name"), QStringLiteral("latin") + QChar(0xDCE9) + QStringLiteral(" name"));
    EXPECT_EQ(tamo::textFromBytes("\xE6\x97\xA5\xE6\x9C\xAC.smc"), QString::fromUtf16(u"\u65E5\u672C.smc"));
    EXPECT_EQ(tamo::textFromBytes("\xF0\x9F\x98\x80"), QString::fromUtf16(u"\U0001F600"));
    // Overlong forms, encoded surrogates, code points above U+10FFFF, cut and stray bytes:
    // all kept byte for byte.
    for (const std::string bytes : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE3\x81",
                                    "a\x80z", "\xF0\x9F\x98\x80\xE9", "\xFF\xFE", "\xED\xB3\xA9"}) {
        const QString text = tamo::textFromBytes(bytes);
        EXPECT_EQ(tamo::bytesFromText(text).toStdString(), bytes) << QByteArray::fromStdString(bytes).toHex().constData();
        EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
    }
    // A character outside the BMP followed by an escaped byte: the pair stays a character.
    EXPECT_EQ(tamo::bytesFromText(QString::fromUtf16(u"\U0001F600") + QChar(0xDCE9)).toStdString(),
              "\xF0\x9F\x98\x80\xE9");
    EXPECT_EQ(tamo::filePath(tamo::textFromBytes("/tmp/" + LatinName)).native(), "/tmp/" + LatinName);

    char program[] = "tamo-cli";
    char argument[] = "latin\xE9 name.smc";
    char *argv[] = {program, argument, nullptr};
    EXPECT_EQ(tamo::filePath(tamo::programArguments(2, argv).at(1)).native(), LatinName);
}

TEST(FileNames, ARelativeNameIsMadeAbsoluteWithItsBytesKept)
{
    const QString relative = tamo::textFromBytes(LatinName);
    const std::filesystem::path expected = std::filesystem::current_path() / LatinName;
    EXPECT_EQ(tamo::filePath(tamo::absoluteFileName(relative)), expected);
    const QString absolute = tamo::textFromBytes("/roms/" + LatinName);
    EXPECT_EQ(tamo::absoluteFileName(absolute), absolute);
}

class CliFileNamesTest : public SmallRomTest
{
protected:
    // Runs tamo-cli on this folder with the file named LatinName as the ROM argument after
    // the command. The shell hands the name's bytes over as they are; Qt's process
    // arguments would turn the 0xE9 into U+FFFD.
    CliRun cliOnLatinName(const QString &command, const QStringList &rest) const
    {
        QProcess process;
        process.start(QStringLiteral("/bin/sh"),
                      QStringList{QStringLiteral("-c"),
                                  QStringLiteral("home=$1; command=$2; shift 2; "
                                                 "exec \"$0\" --home \"$home\" \"$command\" "
                                                 "\"$home/$(printf 'latin\\351 name.smc')\" \"$@\""),
                                  QStringLiteral(TAMO_CLI_PATH), qPath(home), command}
                          + rest);
        CliRun run;
        if (process.waitForFinished(120000)) {
            run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
            run.out = process.readAllStandardOutput();
            run.err = process.readAllStandardError();
        }
        return run;
    }

    std::filesystem::path latinRom() const { return home / LatinName; }

    // QTemporaryDir cannot remove a file whose name is not UTF-8.
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove(latinRom(), ignored);
    }
};

TEST_F(CliFileNamesTest, ARomNamedWithBytesThatAreNotUtf8IsReadWrittenAndNamed)
{
    std::filesystem::copy_file(romPath, latinRom());
    const std::vector<uint8_t> before = fileBytes(latinRom());

    const CliRun info = cliOnLatinName(QStringLiteral("info"), {QStringLiteral("1")});
    ASSERT_EQ(info.exitCode, 0) << info.err.constData();
    EXPECT_EQ(info.json()["fg_tilemap"].toInt(), 12);

    const CliRun set = cliOnLatinName(QStringLiteral("set-tile"), {"1", "3", "5", "0x4321"});
    ASSERT_EQ(set.exitCode, 0) << set.err.constData();
    std::vector<uint8_t> expected = before;
    const size_t cell = TileMapData + 2 * ((3 + TilemapStart / 32) * 16 + 5);
    expected[cell] = 0x21;
    expected[cell + 1] = 0x43;
    EXPECT_EQ(fileBytes(latinRom()), expected);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home), std::filesystem::directory_iterator()), 3)
        << "Data, rom.smc and the file saved in place: no new file";

    std::filesystem::remove(latinRom());
    const CliRun missing = cliOnLatinName(QStringLiteral("info"), {QStringLiteral("1")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QByteArray::fromStdString(LatinName + ": does not exist"))) << missing.err.constData();
}

} // namespace
