// The demo set that make-demo writes and the build puts beside the programs.
#include "cli/demo_themes.h"
#include "core/ini_file.h"
#include "core/name_lists.h"
#include "core/object_lists.h"
#include "core/offset_table.h"
#include "core/rom_image.h"
#include "core/sprite_types.h"
#include "core/stage.h"
#include "qtcommon/shift_jis_text.h"
#include "tests/cli/cli_process.h"
#include "tests/support/stage_bytes.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;

class DemoSetTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = new QTemporaryDir;
        s_home = fs::path(s_folder->path().toStdString());
        const CliRun run = runTamoCli({"make-demo", qPath(s_home)});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        s_offsetsIni = new tamo::IniFile(tamo::IniFile::load(s_home / "Data" / "offsets.ini"));
        s_spriteIni = new tamo::IniFile(tamo::IniFile::load(s_home / "Data" / "sprite.ini"));
        s_rom = new tamo::RomImage(tamo::RomImage::open(s_home / "demo.smc"));
    }
    static void TearDownTestSuite()
    {
        delete s_rom;
        delete s_spriteIni;
        delete s_offsetsIni;
        delete s_folder;
    }

    static const tamo::RomImage &rom() { return *s_rom; }
    static const tamo::IniFile &offsetsIni() { return *s_offsetsIni; }
    static tamo::OffsetTable offsets() { return tamo::LoadOffsetTable(*s_offsetsIni); }
    static uint16_t word(int64_t at) { return tamo::test::wordAt(rom().bytes(), at); }
    // A stage's fields worked out here from the tables, as the game lays them out.
    static tamo::Stage stage(int32_t level)
    {
        const tamo::OffsetTable t = offsets();
        const std::vector<uint8_t> &bytes = rom().bytes();
        tamo::Stage s;
        s.LevelNumber = level;
        s.FGTilemap = offsetsIni().readInteger("FG Tilemap", QString::asprintf("%02X", word(t.FG + 2 * level)).toStdString(), 0);
        const size_t address = size_t(t.TileMap + 3 * s.FGTilemap);
        s.TilemapOffset = int32_t(bytes[address] | bytes[address + 1] << 8 | bytes[address + 2] << 16) - 0xC00000;
        s.CameraBlockOffset = int32_t(tamo::test::cameraBlockAt(bytes, t, level));
        s.SpriteListOffset = int32_t(tamo::test::spriteListAt(bytes, t, level));
        s.StartX = word(t.StartPoint + 4 * level);
        s.StartY = word(t.StartPoint + 4 * level + 2);
        s.TilemapStart = word(s.CameraBlockOffset);
        s.TilemapEnd = word(s.CameraBlockOffset + 2);
        s.ScreenMode = offsetsIni().readInteger("Screen mode", std::to_string(s.FGTilemap), 0);
        const int32_t span = (s.TilemapEnd - s.TilemapStart) / 32;
        s.MapWidth = s.ScreenMode == 0 ? span + 8 : 64;
        s.MapHeight = s.ScreenMode == 0 ? 16 : s.ScreenMode == 1 ? 391 : span + 8;
        return s;
    }
    // The offset of a cell's word: the map lies column by column from TilemapStart's.
    static int64_t cellOffset(const tamo::Stage &stage, int column, int row)
    {
        return stage.TilemapOffset + 2 * ((column + stage.TilemapStart / 32) * int64_t(stage.MapHeight) + row);
    }
    static QImage picture(const std::string &name)
    {
        return QImage(qPath(s_home / "Data" / name));
    }

    static QTemporaryDir *s_folder;
    static fs::path s_home;
    static tamo::IniFile *s_offsetsIni;
    static tamo::IniFile *s_spriteIni;
    static tamo::RomImage *s_rom;
};

QTemporaryDir *DemoSetTest::s_folder = nullptr;
fs::path DemoSetTest::s_home;
tamo::IniFile *DemoSetTest::s_offsetsIni = nullptr;
tamo::IniFile *DemoSetTest::s_spriteIni = nullptr;
tamo::RomImage *DemoSetTest::s_rom = nullptr;

TEST_F(DemoSetTest, RomIsFourMebibytesAtTheDefaultOffsets)
{
    EXPECT_EQ(rom().size(), 4 * 1024 * 1024);
    const tamo::OffsetTable defaults;
    const tamo::OffsetTable table = offsets();
    EXPECT_EQ(table.LevelFunc, defaults.LevelFunc);
    EXPECT_EQ(table.TileMap, defaults.TileMap);
    EXPECT_EQ(table.Banana2, defaults.Banana2);
    EXPECT_EQ(table.BaseSprite, defaults.BaseSprite);
    // The section is written out, not left to the defaults.
    EXPECT_EQ(offsetsIni().keys("Offset").size(), 14u);
}

TEST_F(DemoSetTest, DefaultStageIsAWideModeZeroLevelWithLists)
{
    const CliRun info = runTamoCli({"--home", qPath(s_home), "info", qPath(s_home / "demo.smc"), "22"});
    ASSERT_EQ(info.exitCode, 0) << info.err.constData();
    EXPECT_EQ(info.json()["screen_mode"].toInt(), 0);
    EXPECT_GE(info.json()["map_width"].toInt(), 100);
    EXPECT_LE(info.json()["map_width"].toInt(), 140);
    EXPECT_EQ(info.json()["map_height"].toInt(), 16);
    for (const char *command : {"sprites", "cameras", "bananas"}) {
        const CliRun list = runTamoCli({"--home", qPath(s_home), command, qPath(s_home / "demo.smc"), "22"});
        EXPECT_FALSE(list.json()["records"].toArray().isEmpty()) << command;
    }
}

TEST_F(DemoSetTest, DefaultStageLooksLikeALevel)
{
    const tamo::Stage level = stage(22);
    auto chipAt = [&](int column, int row) {
        return word(cellOffset(level, column, row)) & 0x3FFF;
    };
    auto isSky = [](int chip) {
        return chip == tamo::cli::ChipSky || chip == tamo::cli::ChipSkyLow || chip == tamo::cli::ChipHorizon
            || chip == tamo::cli::ChipCloudLeft || chip == tamo::cli::ChipCloudRight || chip == tamo::cli::ChipSun;
    };
    int skyOnTop = 0;
    int groundAtBottom = 0;
    std::set<int> chips;
    for (int column = 0; column < level.MapWidth; ++column) {
        skyOnTop += isSky(chipAt(column, 0));
        groundAtBottom += chipAt(column, 15) == tamo::cli::ChipGround
                          || chipAt(column, 15) == tamo::cli::ChipGroundStones
                          || chipAt(column, 15) == tamo::cli::ChipGroundSide;
        for (int row = 0; row < level.MapHeight; ++row)
            chips.insert(chipAt(column, row));
    }
    EXPECT_GT(skyOnTop, level.MapWidth * 9 / 10);
    EXPECT_GT(groundAtBottom, level.MapWidth * 3 / 4);
    EXPECT_GE(chips.size(), 15u) << "platforms, bricks, ladders, scenery";
}

TEST_F(DemoSetTest, EveryStageDecodesWithItsThreeLists)
{
    const tamo::OffsetTable table = offsets();
    std::map<int32_t, std::set<int32_t>> stagesOfTilemap;
    std::set<int32_t> modes;
    for (int32_t level = 0; level < tamo::LevelCount; ++level) {
        const tamo::Stage decoded = stage(level);
        stagesOfTilemap[decoded.FGTilemap].insert(level);
        modes.insert(decoded.ScreenMode);
        EXPECT_TRUE(fs::exists(s_home / "Data" / ("chip" + std::to_string(decoded.FGTilemap) + ".bmp"))) << level;
        const std::vector<uint8_t> &bytes = rom().bytes();
        EXPECT_FALSE(tamo::test::spritesAt(bytes, decoded.SpriteListOffset).empty()) << level;
        EXPECT_FALSE(tamo::test::camerasAt(bytes, decoded.CameraBlockOffset).empty()) << level;
        EXPECT_GT(tamo::test::bananaCountAt(bytes, tamo::test::bananaListAt(bytes, table, level)), 0) << level;
        if (decoded.ScreenMode == 0) {
            EXPECT_GT(decoded.MapWidth, 8) << level;
            // The whole map of the stage lies inside the image.
            EXPECT_LE(cellOffset(decoded, decoded.MapWidth - 1, decoded.MapHeight - 1) + 2, rom().size()) << level;
        }
    }
    EXPECT_TRUE(modes.count(0) && modes.count(1) && modes.count(2));
    int sharedSets = 0;
    for (const auto &[tilemap, levels] : stagesOfTilemap)
        sharedSets += levels.size() > 1;
    EXPECT_GE(sharedSets, 3);
}

struct Range
{
    int64_t start;
    int64_t end;
    std::string what;
};

TEST_F(DemoSetTest, NoListOrBlockOverlapsATable)
{
    const tamo::OffsetTable t = offsets();
    const int64_t n = tamo::LevelCount;
    std::vector<Range> tables{
        {t.LevelFunc, t.LevelFunc + 4 * n, "LevelFunc"}, {t.Banana, t.Banana + n, "Banana"},
        {t.FG, t.FG + 2 * n, "FG"},                      {t.BG, t.BG + 2 * n, "BG"},
        {t.Music, t.Music + 2 * n, "Music"},             {t.Darkness, t.Darkness + 4 * n, "Darkness"},
        {t.Camera, t.Camera + 2 * n, "Camera"},          {t.StartPoint, t.StartPoint + 4 * n, "StartPoint"},
        {t.Sprite, t.Sprite + 2 * n, "Sprite"},          {t.StartAction, t.StartAction + 2 * n, "StartAction"},
    };
    std::set<int> bananaIndexes;
    for (int32_t level = 0; level < n; ++level)
        bananaIndexes.insert(rom().readByte(t.Banana + level, "Banana"));
    tables.push_back({t.Banana2, t.Banana2 + *bananaIndexes.rbegin() + 1, "Banana2"});
    for (int tilemap = 0; tilemap <= tamo::cli::DemoTilemapCount; ++tilemap)
        tables.push_back({t.TileMap + 3 * tilemap, t.TileMap + 3 * tilemap + 3, "TileMap"});

    std::vector<Range> contents;
    for (int32_t level = 0; level < n; ++level) {
        const tamo::Stage decoded = stage(level);
        const int64_t sprites = decoded.SpriteListOffset;
        const std::vector<uint8_t> &bytes = rom().bytes();
        contents.push_back({sprites, sprites + 8 * int64_t(tamo::test::spritesAt(bytes, sprites).size() + 1),
                            "sprite list of " + std::to_string(level)});
        const int64_t block = decoded.CameraBlockOffset;
        contents.push_back({block, block + 8 + 4 * int64_t(tamo::test::camerasAt(bytes, block).size() + 1),
                            "camera block of " + std::to_string(level)});
        const int64_t bananas = tamo::test::bananaListAt(bytes, t, level);
        contents.push_back({bananas, bananas + 4 * int64_t(tamo::test::bananaCountAt(bytes, bananas) + 1),
                            "banana list of " + std::to_string(level)});
        if (decoded.ScreenMode == 0) {
            const int64_t map = decoded.TilemapOffset;
            contents.push_back({map, map + 2 * 16 * int64_t(decoded.firstColumn() + decoded.MapWidth),
                                "tile map of " + std::to_string(level)});
        }
    }
    for (const Range &content : contents) {
        for (const Range &table : tables) {
            EXPECT_TRUE(content.end <= table.start || table.end <= content.start)
                << content.what << " overlaps the " << table.what << " table";
        }
    }
}

// Each stage's setting values, read from their tables, are values of their name lists
// (keys 0, 1, 2, ... of the list section up to the first missing or 0), and each listed
// value has a name (its key: upper-case hexadecimal of four digits or more).
TEST_F(DemoSetTest, SettingsValuesAreInTheNameLists)
{
    const tamo::OffsetTable t = offsets();
    const auto listed = [](const std::string &kind) {
        std::set<uint32_t> values;
        for (int key = 0; const int32_t value = offsetsIni().readInteger(kind + " list", std::to_string(key), 0); ++key) {
            values.insert(uint32_t(value));
            EXPECT_FALSE(offsetsIni().readString(kind + " name", QString::asprintf("%04X", uint32_t(value)).toStdString()).empty())
                << kind << " " << value << " has no name";
        }
        EXPECT_FALSE(values.empty()) << kind;
        return values;
    };
    const std::set<uint32_t> fg = listed("FG"), bg = listed("BG"), music = listed("Music"),
                             functions = listed("Function"), actions = listed("Start action");
    for (int32_t level = 0; level < tamo::LevelCount; ++level) {
        EXPECT_TRUE(fg.count(word(t.FG + 2 * level))) << level;
        EXPECT_TRUE(bg.count(word(t.BG + 2 * level))) << level;
        EXPECT_TRUE(music.count(word(t.Music + 2 * level))) << level;
        EXPECT_TRUE(functions.count(word(t.LevelFunc + 4 * level) | uint32_t(word(t.LevelFunc + 4 * level + 2)) << 16))
            << level;
        EXPECT_TRUE(actions.count(word(t.StartAction + 2 * level))) << level;
    }
}

TEST_F(DemoSetTest, StageNamesIncludeShiftJisJapanese)
{
    int japanese = 0;
    for (int32_t level = 0; level < tamo::LevelCount; ++level) {
        const std::string bytes = tamo::LevelName(offsetsIni(), level);
        EXPECT_FALSE(bytes.empty()) << level;
        const QString name = tamo::fromShiftJis(bytes);
        EXPECT_FALSE(name.contains(QChar::ReplacementCharacter)) << level;
        EXPECT_EQ(tamo::toShiftJis(name), bytes) << level;
        japanese += name.at(0).unicode() >= 0x3000; // kana or kanji
    }
    EXPECT_GT(japanese, 10);
}

TEST_F(DemoSetTest, EverySpriteKindInTheRomHasAName)
{
    const tamo::OffsetTable table = offsets();
    EXPECT_FALSE(tamo::LoadSpriteTypes(*s_spriteIni).empty());
    for (int32_t level = 0; level < tamo::LevelCount; ++level) {
        for (const tamo::SpriteRecord &record :
             tamo::ReadSpriteList(rom(), tamo::SpriteListOffset(rom(), table, level))) {
            EXPECT_FALSE(tamo::SpriteTypeName(*s_spriteIni, record.Param, record.Type).empty()) << level;
        }
    }
}

// Chip k of orientation block b of a chip bitmap.
QImage chip(const QImage &picture, int block, int k)
{
    return picture.copy(block * 512 + (k % 16) * 32, (k / 16) * 32, 32, 32);
}

TEST_F(DemoSetTest, ChipBitmapsHoldTrueMirrorsOfDistinctAsymmetricChips)
{
    for (int tilemap = 1; tilemap <= tamo::cli::DemoTilemapCount; ++tilemap) {
        const QImage chips = picture("chip" + std::to_string(tilemap) + ".bmp");
        ASSERT_FALSE(chips.isNull()) << tilemap;
        EXPECT_EQ(chips.width(), 2048);
        EXPECT_EQ(chips.height() % 32, 0);
        EXPECT_GE(16 * (chips.height() / 32), int(tamo::cli::DemoChipCount));
        std::set<QByteArray> seen;
        for (int k = 0; k < tamo::cli::DemoChipCount; ++k) {
            const QImage plain = chip(chips, 0, k);
            EXPECT_EQ(chip(chips, 1, k), plain.mirrored(true, false)) << tilemap << ":" << k;
            EXPECT_EQ(chip(chips, 2, k), plain.mirrored(false, true)) << tilemap << ":" << k;
            EXPECT_EQ(chip(chips, 3, k), plain.mirrored(true, true)) << tilemap << ":" << k;
            EXPECT_NE(plain, plain.mirrored(true, false)) << "chip " << k << " looks the same flipped";
            EXPECT_NE(plain, plain.mirrored(false, true)) << "chip " << k << " looks the same flipped";
            const QImage rgb = plain.convertToFormat(QImage::Format_RGB888);
            const QByteArray pixels(reinterpret_cast<const char *>(rgb.constBits()), rgb.sizeInBytes());
            EXPECT_TRUE(seen.insert(pixels).second) << "chip " << k << " repeats another";
        }
    }
}

TEST_F(DemoSetTest, BitmapsAre24BitBmpFiles)
{
    for (const std::string name : {"chip1.bmp", "mark.bmp"}) {
        const std::vector<uint8_t> bytes = fileBytes(s_home / "Data" / name);
        ASSERT_GT(bytes.size(), 54u);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(bytes[28] | (bytes[29] << 8), 24) << name;
    }
}

TEST_F(DemoSetTest, MarkBitmapHoldsFourDistinctMarks)
{
    const QImage marks = picture("mark.bmp");
    ASSERT_FALSE(marks.isNull());
    EXPECT_GE(marks.width(), 128);
    EXPECT_GE(marks.height(), 32);
    for (int a = 0; a < 4; ++a) {
        for (int b = a + 1; b < 4; ++b)
            EXPECT_NE(marks.copy(a * 32, 0, 32, 32), marks.copy(b * 32, 0, 32, 32)) << a << " and " << b;
    }
}

TEST_F(DemoSetTest, ConfigFolderIsEmpty)
{
    ASSERT_TRUE(fs::is_directory(s_home / "Config"));
    EXPECT_TRUE(fs::is_empty(s_home / "Config"));
}

TEST_F(DemoSetTest, TheSameBytesOnEveryRun)
{
    QTemporaryDir again;
    const fs::path other(again.path().toStdString());
    ASSERT_EQ(runTamoCli({"make-demo", again.path()}).exitCode, 0);
    for (const auto &entry : fs::recursive_directory_iterator(s_home)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path relative = fs::relative(entry.path(), s_home);
        EXPECT_EQ(fileBytes(entry.path()), fileBytes(other / relative)) << relative;
    }
}

TEST_F(DemoSetTest, TheBuildFolderHoldsTheDemoSetBesideThePrograms)
{
    const fs::path build = fs::path(TAMO_CLI_PATH).parent_path();
    EXPECT_EQ(build, fs::path(TAMO_BUILD_DIR));
    EXPECT_TRUE(fs::is_directory(build / "Config"));
    EXPECT_EQ(fileBytes(build / "Data" / "offsets.ini"), fileBytes(s_home / "Data" / "offsets.ini"));
    EXPECT_EQ(fileBytes(build / "demo.smc"), fileBytes(s_home / "demo.smc"));
}

} // namespace
