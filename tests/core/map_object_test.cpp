#include "core/ini_file.h"
#include "core/map_object.h"
#include "core/offset_table.h"
#include "core/rom_image.h"
#include "core/stage.h"

#include <gtest/gtest.h>

namespace tamo {
namespace {

constexpr MapObject sprite(int index) { return {ObjectKind::Sprite, index}; }
constexpr MapObject camera(int index) { return {ObjectKind::Camera, index}; }
constexpr MapObject start{ObjectKind::Start, 0};

TEST(MoveObjectPatch, WritesExactlyTheXAndYBytesOfTheObject)
{
    RomImage rom(std::vector<uint8_t>(0x3000, 0xEE));
    Stage stage;
    stage.LevelNumber = 3;
    stage.SpriteListOffset = 0x1000;
    stage.CameraBlockOffset = 0x2000;
    OffsetTable offsets;
    offsets.StartPoint = 0x0800;
    offsets.Camera = 0x0400;
    offsets.BaseCamera = 0;
    const auto changed = [&](const MapObject &object, int32_t x, int32_t y) {
        RomImage moved = rom;
        MoveObjectPatch(rom, offsets, stage, object, x, y).applyTo(moved);
        std::vector<std::pair<size_t, int>> bytes;
        for (size_t i = 0; i < moved.bytes().size(); ++i) {
            if (moved.bytes()[i] != rom.bytes()[i])
                bytes.push_back({i, moved.bytes()[i]});
        }
        return bytes;
    };
    using Bytes = std::vector<std::pair<size_t, int>>;
    // Sprite 2: bytes 2..5 of the record at 0x1010.
    EXPECT_EQ(changed(sprite(2), 0x1234, 0x0056), (Bytes{{0x1012, 0x34}, {0x1013, 0x12}, {0x1014, 0x56}, {0x1015, 0x00}}));
    // Camera 1: the record at block + 8 + 4; a value past the end of the list stops short.
    EXPECT_EQ(changed(camera(1), 0x10000, 7), (Bytes{{0x200C, 0xFE}, {0x200D, 0xFF}, {0x200E, 0x07}, {0x200F, 0x00}}));
    // The start point of stage 3 at StartPoint + 12.
    EXPECT_EQ(changed(start, -5, 0x0102), (Bytes{{0x080C, 0x00}, {0x080D, 0x00}, {0x080E, 0x02}, {0x080F, 0x01}}));
}

TEST(SharedTileMaps, StagesWithTheSameTilemapNumberAreListed)
{
    RomImage rom(std::vector<uint8_t>(0x1000, 0));
    OffsetTable offsets;
    offsets.FG = 0x0100;
    IniFile ini = IniFile::parse("[FG Tilemap]\n01=4\n02=4\n03=5\n");
    // FG words: stages 0, 7 and 12 take 01, stage 9 takes 02 (the same tilemap), 3 takes 03.
    RomPatch fg;
    for (int32_t level = 0; level < LevelCount; ++level)
        fg.writeWord(offsets.FG + 2 * level, 0x0033, "t");
    for (int32_t level : {0, 7, 12})
        fg.writeWord(offsets.FG + 2 * level, 0x0001, "t");
    fg.writeWord(offsets.FG + 2 * 9, 0x0002, "t");
    fg.writeWord(offsets.FG + 2 * 3, 0x0003, "t");
    fg.applyTo(rom);
    const StageSource source{rom, offsets, ini};
    EXPECT_EQ(StagesSharingTileMap(source, 7), (std::vector<int32_t>{0, 9, 12}));
    EXPECT_EQ(SharedTileMapText(StagesSharingTileMap(source, 7)), "tile map shared with stages 0, 9, 12");
    EXPECT_TRUE(StagesSharingTileMap(source, 3).empty());
    EXPECT_EQ(SharedTileMapText({}), "");
    EXPECT_EQ(SharedTileMapText({1, 2, 3}, 2), "tile map shared with stages 1, 2 and 1 more");
}

} // namespace
} // namespace tamo
