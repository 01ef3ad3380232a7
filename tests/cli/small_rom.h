#pragma once

#include "core/object_lists.h"
#include "core/offset_table.h"
#include "core/rom_image.h"
#include "tests/cli/cli_process.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

// A program folder of its own with a 4 KiB ROM whose tables lie where its Data/offsets.ini
// says. Stage 1 is a full mode-0 stage (FG word 0x000C, tilemap 12); stage 2 uses tilemap
// 5, in screen mode 1. The tests change the image, then write it to rom.smc.
class SmallRomTest : public ::testing::Test
{
protected:
    static constexpr int32_t RomSize = 0x1000;
    static constexpr int32_t TileMapData = 0x400;
    static constexpr int32_t CameraPointer = 0x0010; // stage 1: block at 0x100 + 0x10 - 4
    static constexpr int32_t SpritePointer = 0x0020; // stage 1: list at 0x200 + 0x20
    static constexpr int32_t BananaDistance = 0x10;  // stage 1: list at 0x300 + 0x10
    static constexpr int32_t TilemapStart = 0x40;    // stage 1 shows the map from column 2
    static constexpr int32_t TilemapEnd = 0x140;     // ... 8 + 8 columns wide

    void SetUp() override;

    // Tile word of map column c, row r of tilemap 12 as the test writes it.
    static uint16_t tileWord(int column, int row) { return uint16_t(column * 0x100 + row); }

    std::vector<tamo::SpriteRecord> sprites{{1, 0x50, 0x10, 0x9055}, {2, 0x90, 0x20, 0x9101}, {7, 300, 40, 0x1234}};
    std::vector<tamo::CameraRecord> cameras{{0x40, 0x60}, {0x100, 0x20}};
    std::vector<tamo::BananaRecord> bananas{{2, 200, 0x1234}, {3, 16, 0x40}};

    // Writes the lists above, the tile map and the tables of stages 1 and 2.
    void buildStages();
    void writeRom() const;
    std::vector<uint8_t> romFile() const { return fileBytes(romPath); }

    // Runs tamo-cli with --home set to this folder.
    CliRun cli(const QStringList &arguments) const;
    QString rom() const { return qPath(romPath); }

    QTemporaryDir folder;
    std::filesystem::path home;
    std::filesystem::path romPath;
    tamo::OffsetTable offsets;
    tamo::RomImage image;
};
