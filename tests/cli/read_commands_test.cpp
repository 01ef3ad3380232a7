// The read commands on small ROMs built by the tests.
#include "tests/cli/small_rom.h"

#include "core/ini_file.h"
#include "qtcommon/shift_jis_text.h"

#include <QJsonArray>
#include <QJsonObject>

#include <fstream>

namespace {

using ReadCommandsTest = SmallRomTest;

TEST_F(ReadCommandsTest, InfoShowsTheDecodedStage)
{
    const CliRun run = cli({"info", rom(), "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonObject info = run.json().object();
    EXPECT_EQ(info["stage"].toInt(), 1);
    EXPECT_EQ(info["fg_word"].toInt(), 0x000C);
    EXPECT_EQ(info["fg_tilemap"].toInt(), 12);
    EXPECT_EQ(info["tilemap_offset"].toInt(), TileMapData);
    EXPECT_EQ(info["camera_block_offset"].toInt(), offsets.BaseCamera + CameraPointer - 4);
    EXPECT_EQ(info["sprite_list_offset"].toInt(), offsets.BaseSprite + SpritePointer);
    EXPECT_EQ(info["banana_list_offset"].toInt(), offsets.Banana2 + BananaDistance);
    EXPECT_EQ(info["start_x"].toInt(), 0x88);
    EXPECT_EQ(info["start_y"].toInt(), 0x40);
    EXPECT_EQ(info["tilemap_start"].toInt(), TilemapStart);
    EXPECT_EQ(info["tilemap_end"].toInt(), TilemapEnd);
    EXPECT_EQ(info["screen_mode"].toInt(), 0);
    EXPECT_EQ(info["map_width"].toInt(), (TilemapEnd - TilemapStart) / 32 + 8);
    EXPECT_EQ(info["map_height"].toInt(), 16);
    // Decimal, with forward slashes.
    EXPECT_EQ(info["chip_file"].toString(), "Data/chip12.bmp");
    EXPECT_EQ(info.size(), 15);
}

TEST_F(ReadCommandsTest, InfoOfAModeOneStage)
{
    const QJsonObject info = cli({"info", rom(), "2"}).json().object();
    EXPECT_EQ(info["screen_mode"].toInt(), 1);
    EXPECT_EQ(info["map_width"].toInt(), 64);
    EXPECT_EQ(info["map_height"].toInt(), 391);
    EXPECT_EQ(info["chip_file"].toString(), "Data/chip5.bmp");
}

TEST_F(ReadCommandsTest, SpritesEndAtTheFirstZeroParam)
{
    const QJsonObject list = cli({"sprites", rom(), "1"}).json().object();
    EXPECT_EQ(list["offset"].toInt(), offsets.BaseSprite + SpritePointer);
    const QJsonArray records = list["records"].toArray();
    ASSERT_EQ(records.size(), qsizetype(sprites.size()));
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QJsonObject record = records[i].toObject();
        const tamo::SpriteRecord &expected = sprites[size_t(i)];
        EXPECT_EQ(record["index"].toInt(), i);
        EXPECT_EQ(record["param"].toInt(), expected.Param);
        EXPECT_EQ(record["x"].toInt(), expected.X);
        EXPECT_EQ(record["y"].toInt(), expected.Y);
        EXPECT_EQ(record["type"].toInt(), expected.Type);
    }
    // Names from sprite.ini; a kind it does not name has an empty name.
    EXPECT_EQ(records[0].toObject()["name"].toString(), "Lamp post");
    EXPECT_EQ(records[1].toObject()["name"].toString(), "Red walker");
    EXPECT_EQ(records[2].toObject()["name"].toString(), "");
}

TEST_F(ReadCommandsTest, SpriteNamesAreConvertedFromShiftJis)
{
    const std::string name = tamo::toShiftJis(QString::fromUtf8("やかん"));
    std::ofstream(home / "Data" / "sprite.ini", std::ios::binary) << "[0x0001]\n0x9055=" << name << "\n";
    const QJsonArray records = cli({"sprites", rom(), "1"}).json()["records"].toArray();
    ASSERT_FALSE(records.isEmpty());
    EXPECT_EQ(records[0].toObject()["name"].toString(), QString::fromUtf8("やかん"));
}

TEST_F(ReadCommandsTest, CamerasShowTheBlockStartAndEndAtFFFF)
{
    const QJsonObject list = cli({"cameras", rom(), "1"}).json().object();
    EXPECT_EQ(list["offset"].toInt(), offsets.BaseCamera + CameraPointer - 4);
    const QJsonArray records = list["records"].toArray();
    // The record after the two has X 0x1234 but Y 0xFFFF: it ends the list.
    ASSERT_EQ(records.size(), qsizetype(cameras.size()));
    for (qsizetype i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].toObject()["index"].toInt(), i);
        EXPECT_EQ(records[i].toObject()["x"].toInt(), cameras[size_t(i)].X);
        EXPECT_EQ(records[i].toObject()["y"].toInt(), cameras[size_t(i)].Y);
    }
    EXPECT_TRUE(cli({"cameras", rom(), "2"}).json()["records"].toArray().isEmpty());
}

TEST_F(ReadCommandsTest, BananasComeThroughTheTwoByteTables)
{
    const QJsonObject list = cli({"bananas", rom(), "1"}).json().object();
    EXPECT_EQ(list["offset"].toInt(), offsets.Banana2 + BananaDistance);
    const QJsonArray records = list["records"].toArray();
    ASSERT_EQ(records.size(), qsizetype(bananas.size()));
    for (qsizetype i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].toObject()["group"].toInt(), bananas[size_t(i)].Group);
        EXPECT_EQ(records[i].toObject()["x"].toInt(), bananas[size_t(i)].X);
        EXPECT_EQ(records[i].toObject()["y"].toInt(), bananas[size_t(i)].Y);
    }
}

TEST_F(ReadCommandsTest, SettingsShowEveryField)
{
    image.writeWord(offsets.BG + 2, 0x0203, "BG");
    image.writeWord(offsets.Music + 2, 0x0405, "Music");
    image.writeDword(offsets.LevelFunc + 4, 0xFFC0A1B2, "Func");
    image.writeWord(offsets.StartAction + 2, 0x0607, "StartAction");
    image.writeByte(offsets.Darkness + 4, 0xA5, "Darkness");
    image.writeByte(offsets.Darkness + 5, 0x11, "Darkness");
    image.writeByte(offsets.Darkness + 6, 0x22, "Darkness");
    writeRom();
    const QJsonObject settings = cli({"settings", rom(), "1"}).json().object();
    EXPECT_EQ(settings["fg"].toInt(), 0x000C);
    EXPECT_EQ(settings["bg"].toInt(), 0x0203);
    EXPECT_EQ(settings["music"].toInt(), 0x0405);
    // The full 32 bits, as an unsigned number.
    EXPECT_EQ(settings["func"].toInteger(), 0xFFC0A1B2LL);
    EXPECT_EQ(settings["start_action"].toInt(), 0x0607);
    EXPECT_EQ(settings["start_x"].toInt(), 0x88);
    EXPECT_EQ(settings["start_y"].toInt(), 0x40);
    EXPECT_EQ(settings["darkness_bits"].toInt(), 0xA5);
    EXPECT_EQ(settings["bg_color"].toInt(), 0x11);
    EXPECT_EQ(settings["bg_darkness"].toInt(), 0x22);
    EXPECT_EQ(settings["tilemap_start"].toInt(), TilemapStart);
    EXPECT_EQ(settings["tilemap_end"].toInt(), TilemapEnd);
    EXPECT_EQ(settings.size(), 12);
}

TEST_F(ReadCommandsTest, TilesAreRowsOfTheStageImage)
{
    const QJsonObject tiles = cli({"tiles", rom(), "1"}).json().object();
    const int width = tiles["width"].toInt();
    const int height = tiles["height"].toInt();
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    const QJsonArray rows = tiles["rows"].toArray();
    ASSERT_EQ(rows.size(), height);
    const int firstColumn = TilemapStart / 32;
    for (int row = 0; row < height; ++row) {
        const QJsonArray words = rows[row].toArray();
        ASSERT_EQ(words.size(), width);
        for (int column = 0; column < width; ++column)
            ASSERT_EQ(words[column].toInt(), tileWord(column + firstColumn, row)) << column << "," << row;
    }
}

TEST_F(ReadCommandsTest, TilesOutsideModeZeroHaveNoRows)
{
    const QJsonObject tiles = cli({"tiles", rom(), "2"}).json().object();
    EXPECT_EQ(tiles["width"].toInt(), 64);
    EXPECT_EQ(tiles["height"].toInt(), 391);
    EXPECT_TRUE(tiles["rows"].toArray().isEmpty());
}

TEST_F(ReadCommandsTest, StagesListAllWithKeysAndNames)
{
    tamo::IniFile ini = tamo::IniFile::load(home / "Data" / "offsets.ini");
    ini.writeString("Level name", "0C", "Twelve");
    ini.writeString("Level name", "E5", tamo::toShiftJis(QString::fromUtf8("最後の面")));
    ini.save(home / "Data" / "offsets.ini");
    const QJsonArray stages = cli({"stages"}).json().array();
    ASSERT_EQ(stages.size(), 230);
    for (qsizetype i = 0; i < stages.size(); ++i)
        EXPECT_EQ(stages[i].toObject()["stage"].toInt(), i);
    EXPECT_EQ(stages[12].toObject()["key"].toString(), "0C");
    EXPECT_EQ(stages[12].toObject()["name"].toString(), "Twelve");
    EXPECT_EQ(stages[229].toObject()["key"].toString(), "E5");
    EXPECT_EQ(stages[229].toObject()["name"].toString(), QString::fromUtf8("最後の面"));
    EXPECT_EQ(stages[0].toObject()["name"].toString(), "");
}

TEST_F(ReadCommandsTest, TablesOutsideTheImageFailCleanly)
{
    // A sprite pointer leading past the end of the image.
    image.writeWord(offsets.Sprite + 2, 0xFFF0, "Sprite");
    // A tile map pointer leading past the end of the image.
    image.writeWord(offsets.TileMap + 3 * 12, 0xFFF0, "TileMap");
    writeRom();
    const CliRun sprites = cli({"sprites", rom(), "1"});
    EXPECT_EQ(sprites.exitCode, 1) << "a list that starts outside the image is no empty list";
    EXPECT_TRUE(sprites.oneErrorLine());
    EXPECT_TRUE(sprites.out.isEmpty());
    const CliRun tiles = cli({"tiles", rom(), "1"});
    EXPECT_EQ(tiles.exitCode, 1);
    EXPECT_TRUE(tiles.oneErrorLine());
    EXPECT_TRUE(tiles.out.isEmpty());
}

TEST_F(ReadCommandsTest, ListsStartingOutsideTheImageNameTheirOffsetAndTheImageSize)
{
    // The image ends at 0x310, where stage 1's banana list would start; the camera and
    // sprite pointers lead far beyond it.
    image.writeWord(offsets.Camera + 2, 0xFFF0, "Camera");
    image.writeWord(offsets.Sprite + 2, 0xFFF0, "Sprite");
    image = tamo::RomImage(std::vector<uint8_t>(image.bytes().begin(), image.bytes().begin() + 0x310));
    writeRom();
    const struct
    {
        const char *command;
        const char *offset;
    } lists[] = {{"sprites", "0x0101F0"}, {"cameras", "0x0100F4"}, {"bananas", "0x000310"}};
    for (const auto &list : lists) {
        const CliRun run = cli({list.command, rom(), "1"});
        EXPECT_EQ(run.exitCode, 1) << list.command;
        EXPECT_TRUE(run.oneErrorLine()) << list.command;
        EXPECT_TRUE(run.out.isEmpty()) << list.command;
        EXPECT_TRUE(run.err.contains(list.offset)) << run.err.constData();
        EXPECT_TRUE(run.err.contains("784 bytes")) << run.err.constData();
    }
}

TEST_F(ReadCommandsTest, AListRunningOffTheEndShowsItsWholeRecords)
{
    // Stage 1's banana list at 0x310 loses its terminator and the half of its second record.
    image = tamo::RomImage(std::vector<uint8_t>(image.bytes().begin(), image.bytes().begin() + 0x316));
    writeRom();
    const CliRun run = cli({"bananas", rom(), "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonArray records = run.json()["records"].toArray();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].toObject()["x"].toInt(), 0x1234);
}

TEST_F(ReadCommandsTest, AnEmptyRomFailsEveryStageCommand)
{
    image = tamo::RomImage();
    writeRom();
    for (const char *command : {"info", "sprites", "cameras", "bananas", "settings", "tiles"}) {
        const CliRun run = cli({command, rom(), "1"});
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_TRUE(run.oneErrorLine()) << command;
    }
}

} // namespace
