#include "core/level_settings.h"
#include "core/rom_error.h"

#include "tests/support/test_rom.h"

#include <gtest/gtest.h>

using namespace tamo;
using tamo::test::TestRom;

namespace {

TestRom patternedRom()
{
    TestRom rom;
    for (size_t i = 0; i < rom.bytes.size(); ++i)
        rom.bytes[i] = static_cast<uint8_t>(i * 13 + 5);
    // Stage 2's camera pointer 0x0010 with BaseCamera 0x1000: block at 0x100C.
    rom.word(rom.offsets.Camera + 4, 0x0010);
    return rom;
}

std::vector<size_t> changedBytes(const std::vector<uint8_t> &before, const std::vector<uint8_t> &after)
{
    std::vector<size_t> changed;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i])
            changed.push_back(i);
    }
    return changed;
}

} // namespace

TEST(LevelSettings, ReadsEveryFieldAtItsPlace)
{
    TestRom rom = patternedRom();
    const OffsetTable &o = rom.offsets;
    rom.word(o.FG + 4, 0x0003);
    rom.word(o.BG + 4, 0x0102);
    rom.word(o.Music + 4, 0x0A0B);
    rom.word(o.LevelFunc + 8, 0xA1B2);
    rom.word(o.LevelFunc + 10, 0x00C0);
    rom.word(o.StartAction + 4, 0x0001);
    rom.word(o.StartPoint + 8, 640);
    rom.word(o.StartPoint + 10, 96);
    rom.byte(o.Darkness + 8, 0x81);
    rom.byte(o.Darkness + 9, 12);
    rom.byte(o.Darkness + 10, 34);
    rom.word(0x100C, 0x0100);
    rom.word(0x100E, 0x0E00);

    const LevelSettings s = ReadLevelSettings(rom.image(), o, 2);
    EXPECT_EQ(s.FG, 3);
    EXPECT_EQ(s.BG, 0x0102);
    EXPECT_EQ(s.Music, 0x0A0B);
    EXPECT_EQ(s.Func, 0x00C0A1B2);
    EXPECT_EQ(s.StartAction, 1);
    EXPECT_EQ(s.StartX, 640);
    EXPECT_EQ(s.StartY, 96);
    EXPECT_EQ(s.DarknessBits, 0x81);
    EXPECT_EQ(s.BGColor, 12);
    EXPECT_EQ(s.BGDarkness, 34);
    EXPECT_EQ(s.TilemapStart, 0x0100);
    EXPECT_EQ(s.TilemapEnd, 0x0E00);
    EXPECT_EQ(DarknessFlagMask(0), 0x80); // flag A
    EXPECT_EQ(DarknessFlagMask(7), 0x01); // flag H
}

TEST(LevelSettings, WritingWhatWasReadChangesNoByte)
{
    const TestRom rom = patternedRom();
    RomImage image = rom.image();
    const LevelSettings s = ReadLevelSettings(image, rom.offsets, 2);
    WriteLevelSettings(image, rom.offsets, 2,
                       {s.FG, s.BG, s.Music, s.Func, s.StartAction, s.StartX, s.StartY, s.DarknessBits,
                        s.BGColor, s.BGDarkness, s.TilemapStart, s.TilemapEnd});
    EXPECT_EQ(image.bytes(), rom.bytes);
}

TEST(LevelSettings, WritesCutValuesAndTouchOnlyTheirBytes)
{
    const TestRom rom = patternedRom();
    const OffsetTable &o = rom.offsets;
    RomImage image = rom.image();
    LevelSettingsUpdate update;
    update.StartX = -1;
    update.StartY = 70000;
    update.BGColor = 300;
    update.Func = 0x00C0A1B2;
    update.TilemapStart = 0x0120;
    WriteLevelSettings(image, o, 2, update);

    EXPECT_EQ(image.readWord(o.StartPoint + 8, "t"), 0xFFFF);
    EXPECT_EQ(image.readWord(o.StartPoint + 10, "t"), 0x1170);
    EXPECT_EQ(image.readByte(o.Darkness + 9, "t"), 0x2C);
    EXPECT_EQ(image.readDword(o.LevelFunc + 8, "t"), 0x00C0A1B2u);
    EXPECT_EQ(image.readWord(0x100C, "t"), 0x0120);

    std::vector<size_t> expected;
    for (int i = 0; i < 4; ++i)
        expected.push_back(o.LevelFunc + 8 + i);
    expected.push_back(o.Darkness + 9);
    expected.push_back(0x100C);
    expected.push_back(0x100D);
    for (int i = 0; i < 4; ++i)
        expected.push_back(o.StartPoint + 8 + i);
    std::sort(expected.begin(), expected.end());
    std::vector<size_t> changed = changedBytes(rom.bytes, image.bytes());
    // A cut value may happen to equal the old byte; every change must be expected.
    for (size_t at : changed)
        EXPECT_TRUE(std::binary_search(expected.begin(), expected.end(), at)) << "byte " << at;
}

TEST(LevelSettings, DarknessBitsAloneChangeAtMostOneByte)
{
    const TestRom rom = patternedRom();
    RomImage image = rom.image();
    LevelSettingsUpdate update;
    update.DarknessBits = DarknessFlagMask(0) | DarknessFlagMask(7);
    WriteLevelSettings(image, rom.offsets, 2, update);
    const std::vector<size_t> changed = changedBytes(rom.bytes, image.bytes());
    ASSERT_LE(changed.size(), 1u);
    EXPECT_EQ(image.readByte(rom.offsets.Darkness + 8, "t"), 0x81);
    EXPECT_EQ(image.readByte(rom.offsets.Darkness + 11, "t"), rom.bytes[rom.offsets.Darkness + 11])
        << "byte 3 of the darkness entry belongs to no field";
}

TEST(LevelSettings, FieldsOutsideTheImageRefuseTheWholeWrite)
{
    TestRom rom = patternedRom();
    rom.offsets.StartAction = static_cast<int32_t>(rom.bytes.size()) - 1; // the word sticks out
    RomImage image = rom.image();
    LevelSettingsUpdate update;
    update.FG = 7;
    update.StartAction = 1;
    EXPECT_THROW(WriteLevelSettings(image, rom.offsets, 0, update), RomRangeError);
    EXPECT_EQ(image.bytes(), rom.bytes);
    EXPECT_THROW(ReadLevelSettings(image, rom.offsets, 0), RomRangeError);

    // A field that is not written may lie anywhere.
    update.StartAction.reset();
    WriteLevelSettings(image, rom.offsets, 0, update);
    EXPECT_EQ(image.readWord(rom.offsets.FG, "t"), 7);
}
