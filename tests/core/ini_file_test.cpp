#include "core/ini_file.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

using tamo::IniFile;

namespace {

const char *const SampleText = "stray=before any section\r\n"
                               "  [ Offset ]  \r\n"
                               "; a comment line\r\n"
                               "TileMap = 0x18B94\r\n"
                               "\r\n"
                               "Banana2=$38BFF9\r\n"
                               "no equals sign here\r\n"
                               "[Level name]\n"
                               "00=First =stage\n"
                               "0c= spaced  \n"
                               "[offset]\n"
                               "Camera=5\n";

} // namespace

TEST(IniFile, ParsesTrimmedLinesSectionsAndKeys)
{
    const IniFile ini = IniFile::parse(SampleText);
    EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Offset", "Level name"}));
    EXPECT_EQ(ini.readInteger("Offset", "TileMap", 0), 0x18B94);
    EXPECT_EQ(ini.readInteger("OFFSET", "banana2", 0), 0x38BFF9);
    // The value keeps everything after the first "=", trimmed.
    EXPECT_EQ(ini.readString("Level name", "00"), "First =stage");
    EXPECT_EQ(ini.readString("level NAME", "0C"), "spaced");
    // A later section of the same name adds to the first.
    EXPECT_EQ(ini.readInteger("Offset", "Camera", 0), 5);
    EXPECT_FALSE(ini.value("Offset", "stray"));
    EXPECT_FALSE(ini.value("Offset", "no equals sign here"));
    EXPECT_FALSE(ini.value("Offset", "; a comment line"));
}

TEST(IniFile, ListsSectionsAndKeysInFileOrder)
{
    const IniFile ini = IniFile::parse("[b]\nz=1\na=2\n[A]\nk=3\n[B]\ny=4\nZ=5\n");
    EXPECT_EQ(ini.sections(), (std::vector<std::string>{"b", "A"}));
    EXPECT_EQ(ini.keys("B"), (std::vector<std::string>{"z", "a", "y"}));
    // The first of two equal keys is the one that counts.
    EXPECT_EQ(ini.readInteger("b", "z", 0), 1);
    EXPECT_TRUE(ini.keys("missing").empty());
}

TEST(IniFile, DefaultsAndBooleans)
{
    const IniFile ini = IniFile::parse("[View]\nSprite=0\nCamera=7\nStart=yes\n[Stage]\nLatest=\n");
    EXPECT_FALSE(ini.readBool("View", "Sprite", true));
    EXPECT_TRUE(ini.readBool("View", "Camera", false));
    EXPECT_TRUE(ini.readBool("View", "Start", true));
    EXPECT_FALSE(ini.readBool("View", "Start", false));
    EXPECT_EQ(ini.readInteger("Stage", "Latest", 22), 22);
    EXPECT_EQ(ini.readInteger("Nowhere", "Latest", 22), 22);
    EXPECT_EQ(ini.readString("Nowhere", "x", "fallback"), "fallback");
}

TEST(IniFile, ByteOrderMarkDoesNotHideTheFirstSection)
{
    const IniFile ini = IniFile::parse("\xEF\xBB\xBF[Offset]\nFG=5\n");
    EXPECT_EQ(ini.readInteger("Offset", "FG", 0), 5);
}

TEST(IniFile, KeepsEightBitTextByteForByte)
{
    const std::string shiftJis = "\x83\x65\x83\x58\x83\x67"; // katakana in Shift-JIS
    const IniFile ini = IniFile::parse("[Level name]\n01=" + shiftJis + "\n");
    EXPECT_EQ(ini.readString("Level name", "01"), shiftJis);
}

TEST(IniFile, WritesUpdateInPlaceAndAppendInOrder)
{
    IniFile ini = IniFile::parse("[MainWindow]\nLeft=3\n");
    ini.writeInteger("mainwindow", "LEFT", -5);
    ini.writeBool("MainWindow", "isMaximized", true);
    ini.writeString("FileDialog", "InitialDir", "/roms/");
    EXPECT_EQ(ini.toText(), "[MainWindow]\nLeft=-5\nisMaximized=1\n\n[FileDialog]\nInitialDir=/roms/\n");
    EXPECT_EQ(IniFile::parse(ini.toText()).toText(), ini.toText());
}

TEST(IniFile, LoadAndSaveFiles)
{
    const tamo::test::TempFolder folder;
    const auto &dir = folder.path;

    EXPECT_TRUE(IniFile::load(dir / "missing.ini").sections().empty());

    IniFile ini;
    ini.writeInteger("Stage", "Latest", 42);
    ini.save(dir / "application.ini");
    EXPECT_EQ(IniFile::load(dir / "application.ini").readInteger("Stage", "Latest", 0), 42);

    // Saving into a folder that does not exist is an error naming the file.
    try {
        ini.save(dir / "Config" / "application.ini");
        FAIL() << "saving into a missing folder must fail";
    } catch (const std::exception &error) {
        EXPECT_NE(std::string(error.what()).find("application.ini"), std::string::npos);
    }
}

TEST(IniFile, ThousandsOfKeysAndSectionsKeepTheFirstOfEqualNamesAndTheFileOrder)
{
    // Every key comes twice, the second time in upper case with another value, and every
    // section is opened a second time in upper case, adding a key of its own.
    constexpr int Sections = 300;
    constexpr int Keys = 40;
    std::string text;
    for (int pass = 0; pass < 2; ++pass) {
        for (int s = 0; s < Sections; ++s) {
            text += pass == 0 ? "[name" + std::to_string(s) + "]\n" : "[NAME" + std::to_string(s) + "]\n";
            for (int k = 0; k < Keys; ++k)
                text += "key" + std::to_string(k) + "x=first " + std::to_string(s * Keys + k) + "\n";
            for (int k = 0; k < Keys; ++k)
                text += "KEY" + std::to_string(k) + "X=second\n";
            if (pass == 1)
                text += "added=" + std::to_string(s) + "\n";
        }
    }
    const IniFile ini = IniFile::parse(text);

    ASSERT_EQ(ini.sections().size(), size_t(Sections));
    EXPECT_EQ(ini.sections()[7], "name7");
    for (int s = 0; s < Sections; ++s) {
        const std::string section = "Name" + std::to_string(s);
        const std::vector<std::string> keys = ini.keys(section);
        ASSERT_EQ(keys.size(), size_t(Keys + 1)) << section;
        EXPECT_EQ(keys[3], "key3x");
        EXPECT_EQ(keys.back(), "added");
        for (int k = 0; k < Keys; ++k)
            EXPECT_EQ(ini.readString(section, "Key" + std::to_string(k) + "X"), "first " + std::to_string(s * Keys + k));
        EXPECT_EQ(ini.readInteger(section, "ADDED", -1), s);
        EXPECT_FALSE(ini.value(section, "key" + std::to_string(Keys) + "x"));
    }
    EXPECT_FALSE(ini.value("name" + std::to_string(Sections), "key0x"));

    // A copy is a file of its own: writes to it leave the original as it was.
    IniFile copy = ini;
    for (int s = 0; s < Sections; ++s)
        copy.writeString("new" + std::to_string(s), "KEY0X", "copy");
    copy.writeString("name0", "key0X", "changed");
    EXPECT_EQ(copy.readString("NEW299", "key0x"), "copy");
    EXPECT_EQ(copy.readString("name0", "KEY0X"), "changed");
    EXPECT_EQ(ini.readString("name0", "KEY0X"), "first 0");
    EXPECT_EQ(ini.sections().size(), size_t(Sections));
}

TEST(IniFile, EachKeyIsVisitedOnceWithItsValueInFileOrder)
{
    IniFile ini = IniFile::parse("[s]\nb=2\na=1\nB=3\n[S]\nc=\n");
    std::vector<std::pair<std::string, std::string>> visited;
    const auto visit = [&](std::string_view key, std::string_view value) { visited.emplace_back(key, value); };
    ini.forEachEntry("S", visit);
    EXPECT_EQ(visited, (std::vector<std::pair<std::string, std::string>>{{"b", "2"}, {"a", "1"}, {"c", ""}}));

    // Written back as they were handed out, into a section and a key of their own.
    visited.clear();
    ini.forEachEntry("s", [&](std::string_view key, std::string_view value) {
        ini.writeString(value, key, key);
    });
    ini.forEachEntry("2", visit);
    EXPECT_EQ(visited, (std::vector<std::pair<std::string, std::string>>{{"b", "b"}}));
    visited.clear();
    ini.forEachEntry("t", visit);
    EXPECT_TRUE(visited.empty());
}
