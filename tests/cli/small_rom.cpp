#include "tests/cli/small_rom.h"

#include "core/file_system.h"
#include "core/ini_file.h"
#include "core/offset_table.h"

#include <fstream>

namespace {

// The tables written in every form the integer syntax takes.
const char *const OffsetsIni = R"([Offset]
LevelFunc=0
TileMap=$20
Banana=0x50
FG=96
BG=0x70
Music=$80
Darkness=0x90
Camera=0xA0
StartPoint=0xB0
Sprite=0xC0
StartAction=0xD0
BaseCamera=0x100
BaseSprite=0x200
Banana2=0x300
[FG Tilemap]
0C=12
05=5
[Screen mode]
12=0
5=1
)";

const char *const SpriteIni = R"([0x0001]
0x9055=Lamp post
[0x0002]
0x9101=Red walker
)";

void writeText(const std::filesystem::path &path, const char *text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

void SmallRomTest::SetUp()
{
    ASSERT_TRUE(folder.isValid());
    home = std::filesystem::path(folder.path().toStdString());
    std::filesystem::create_directories(home / "Data");
    writeText(home / "Data" / "offsets.ini", OffsetsIni);
    writeText(home / "Data" / "sprite.ini", SpriteIni);
    romPath = home / "rom.smc";
    offsets = tamo::LoadOffsetTable(tamo::IniFile::parse(OffsetsIni));
    image = tamo::RomImage(std::vector<uint8_t>(RomSize, 0));
    buildStages();
    writeRom();
}

void SmallRomTest::buildStages()
{
    tamo::RomImage &rom = image;
    // Stage 1: tilemap 12, mode 0.
    rom.writeWord(offsets.FG + 2, 0x000C, "FG");
    const uint32_t address = 0xC00000 + TileMapData;
    rom.writeWord(offsets.TileMap + 3 * 12, address & 0xFFFF, "TileMap");
    rom.writeByte(offsets.TileMap + 3 * 12 + 2, address >> 16, "TileMap");
    for (int column = 0; column < 18; ++column) {
        for (int row = 0; row < 16; ++row)
            rom.writeWord(TileMapData + 2 * (column * 16 + row), tileWord(column, row), "tile");
    }
    rom.writeWord(offsets.Camera + 2, CameraPointer, "Camera");
    const int32_t block = offsets.BaseCamera + CameraPointer - 4;
    rom.writeWord(block, TilemapStart, "block");
    rom.writeWord(block + 2, TilemapEnd, "block");
    for (size_t i = 0; i < cameras.size(); ++i)
        tamo::WriteCameraRecord(rom, block, int(i), cameras[i]);
    tamo::WriteCameraRecord(rom, block, int(cameras.size()), {0x1234, 0xFFFF});

    rom.writeWord(offsets.Sprite + 2, SpritePointer, "Sprite");
    const int32_t spriteList = offsets.BaseSprite + SpritePointer;
    for (size_t i = 0; i < sprites.size(); ++i)
        tamo::WriteSpriteRecord(rom, spriteList, int(i), sprites[i]);
    // After the terminator: a record that must never be listed.
    tamo::WriteSpriteRecord(rom, spriteList, int(sprites.size()) + 1, {5, 5, 5, 5});

    rom.writeByte(offsets.Banana + 1, 2, "Banana");
    rom.writeByte(offsets.Banana2 + 2, BananaDistance, "Banana2");
    for (size_t i = 0; i < bananas.size(); ++i)
        tamo::WriteBananaRecord(rom, offsets.Banana2 + BananaDistance, int(i), bananas[i]);

    rom.writeWord(offsets.StartPoint + 4, 0x88, "StartPoint");
    rom.writeWord(offsets.StartPoint + 6, 0x40, "StartPoint");

    // Stage 2: tilemap 5 in screen mode 1, with empty lists of its own.
    rom.writeWord(offsets.FG + 4, 0x0005, "FG");
    rom.writeWord(offsets.Camera + 4, 0x0040, "Camera");
    tamo::WriteCameraRecord(rom, offsets.BaseCamera + 0x40 - 4, 0, {0xFFFF, 0});
    rom.writeWord(offsets.Sprite + 4, 0x0080, "Sprite");
    rom.writeByte(offsets.Banana + 2, 3, "Banana");
    rom.writeByte(offsets.Banana2 + 3, 0x40, "Banana2");
}

void SmallRomTest::writeRom() const
{
    tamo::fs::writeWholeFile(romPath, image.bytes());
}

CliRun SmallRomTest::cli(const QStringList &arguments) const
{
    return runTamoCli(QStringList{"--home", qPath(home)} + arguments);
}
