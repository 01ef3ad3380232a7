// The boot program that make-demo puts into the demo ROM beside the stage data.
#include "cli/demo_levels.h"
#include "core/offset_table.h"
#include "tests/cli/cli_process.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr size_t FirstBank = 0x8000; // LoROM bank $00: file bytes 0-$7FFF at $8000-$FFFF

class DemoProgramTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        QTemporaryDir folder;
        const CliRun run = runTamoCli({"make-demo", folder.path()});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        s_rom = fileBytes(std::filesystem::path(folder.path().toStdString()) / "demo.smc");
    }

    static uint16_t word(size_t offset) { return uint16_t(s_rom[offset] | s_rom[offset + 1] << 8); }
    // The file byte a bank $00 address shows.
    static uint8_t at(uint16_t address) { return address >= 0x8000 ? s_rom[address - 0x8000] : 0; }

    static std::vector<uint8_t> s_rom;
};

std::vector<uint8_t> DemoProgramTest::s_rom;

TEST_F(DemoProgramTest, StageDataKeepsEveryByteAndTheProgramOnlyFillsTheBlankFirstBank)
{
    const tamo::RomImage stages = tamo::cli::buildDemoRom();
    ASSERT_EQ(s_rom.size(), stages.bytes().size());
    const auto stageBank = stages.bytes().begin();
    EXPECT_TRUE(std::all_of(stageBank, stageBank + FirstBank, [](uint8_t byte) { return byte == 0; }));
    size_t changedInBank = 0;
    size_t changedElsewhere = 0;
    for (size_t i = 0; i < s_rom.size(); ++i) {
        if (s_rom[i] != stages.bytes()[i])
            ++(i < FirstBank ? changedInBank : changedElsewhere);
    }
    EXPECT_EQ(changedElsewhere, 0u);
    EXPECT_GT(changedInBank, 100u) << "header, vectors, routine and font";
    const tamo::OffsetTable t;
    for (int32_t table : {t.LevelFunc, t.TileMap, t.Banana, t.FG, t.BG, t.Music, t.Darkness, t.Camera,
                          t.StartPoint, t.Sprite, t.StartAction, t.BaseCamera, t.BaseSprite, t.Banana2})
        EXPECT_GE(table, int32_t(FirstBank));
}

TEST_F(DemoProgramTest, LoRomHeaderNamesTitleMapSizeAndTheChecksumOfTheWholeImage)
{
    EXPECT_EQ(std::string(s_rom.begin() + 0x7FC0, s_rom.begin() + 0x7FD5), "TAMO DEMO            ");
    EXPECT_EQ(s_rom[0x7FD5], 0x20) << "LoROM";
    EXPECT_EQ(s_rom[0x7FD6], 0x00) << "ROM only";
    EXPECT_EQ(s_rom[0x7FD7], 0x0C) << "2^12 KiB";
    uint32_t sum = 0;
    for (uint8_t byte : s_rom)
        sum += byte;
    EXPECT_EQ(word(0x7FDE), sum & 0xFFFF);
    EXPECT_EQ(word(0x7FDC), ~sum & 0xFFFF);
}

TEST_F(DemoProgramTest, ResetVectorLeadsToTheRoutineAndEveryInterruptToAnRti)
{
    const uint16_t reset = word(0x7FFC);
    ASSERT_GE(reset, 0x8000);
    EXPECT_LT(reset, 0xFFC0) << "the routine lies before the header";
    EXPECT_EQ(at(reset), 0x78) << "sei";
    EXPECT_EQ(at(reset + 1), 0x18) << "clc";
    EXPECT_EQ(at(reset + 2), 0xFB) << "xce";
    // COP, BRK, ABORT, NMI and IRQ in native mode; COP, ABORT, NMI and IRQ/BRK in emulation mode.
    for (size_t vector : {0x7FE4, 0x7FE6, 0x7FE8, 0x7FEA, 0x7FEE, 0x7FF4, 0x7FF8, 0x7FFA, 0x7FFE}) {
        EXPECT_GE(word(vector), 0x8000) << std::hex << vector;
        EXPECT_EQ(at(word(vector)), 0x40) << std::hex << vector;
    }
}

} // namespace
