// The two formats behind one front: chosen by a file's name or a patch's first bytes, and
// a patch's effect on the stages of the image it applies to.
#include "core/ini_file.h"
#include "core/patch_file.h"
#include "core/rom_image.h"
#include "tests/support/test_rom.h"

#include <gtest/gtest.h>

using tamo::PatchFormat;
using Bytes = std::vector<uint8_t>;

TEST(PatchFile, TheFormatComesFromTheNameInAnyCaseOrFromTheFirstBytes)
{
    EXPECT_EQ(tamo::PatchFormatForName("stage/fix.BPS"), PatchFormat::Bps);
    EXPECT_EQ(tamo::PatchFormatForName("fix.Ips"), PatchFormat::Ips);
    EXPECT_EQ(tamo::PatchFormatForName("fix.bps.txt"), std::nullopt);
    EXPECT_EQ(tamo::PatchFormatForName("bps"), std::nullopt);

    EXPECT_EQ(tamo::PatchFormatOf(Bytes{'B', 'P', 'S', '1', 0}), PatchFormat::Bps);
    EXPECT_EQ(tamo::PatchFormatOf(Bytes{'P', 'A', 'T', 'C', 'H'}), PatchFormat::Ips);
    EXPECT_THROW(tamo::PatchFormatOf(Bytes{'P', 'A', 'T', 'C'}), tamo::PatchError);
    EXPECT_THROW(tamo::ReadPatchInfo(Bytes{}), tamo::PatchError);
}

TEST(PatchFile, TellsTheStagesAPatchChangesAndWhatItSaysOfItself)
{
    // Every table 0x400 bytes from the next in a blank image: each stage's settings
    // entries are its own, its lists are the empty ones all stages share.
    tamo::test::TestRom base{0x8000};
    base.offsets = {0x0000, 0x0400, 0x0800, 0x0C00, 0x1000, 0x1400, 0x1800, 0x1C00, 0x2000, 0x2400, 0x2800,
                    0x3000, 0x4000, 0x5000};
    base.word(0x3004, 0xFFFF); // the end of the shared camera list
    const tamo::IniFile ini;
    const tamo::RomImage image = base.image();
    tamo::test::TestRom changed = base;
    changed.word(base.offsets.BG + 2 * 7, 0x0102);    // stage 7's background
    changed.byte(base.offsets.Music + 2 * 100, 0x05); // stage 100's music

    for (const PatchFormat format : {PatchFormat::Bps, PatchFormat::Ips}) {
        const Bytes patch = tamo::MakePatch(format, image.bytes(), changed.bytes);
        const tamo::PatchedImage patched = tamo::PatchImage({image, base.offsets, ini}, patch);
        EXPECT_EQ(patched.bytes, changed.bytes);
        EXPECT_EQ(patched.difference.bytes, 3);
        EXPECT_EQ(patched.difference.stages, (std::vector<int32_t>{7, 100}));

        const tamo::PatchInfo info = tamo::ReadPatchInfo(patch);
        EXPECT_EQ(info.format, format);
        EXPECT_EQ(info.bps.has_value(), format == PatchFormat::Bps);
        EXPECT_EQ(info.sourceSize, format == PatchFormat::Bps ? std::optional<uint64_t>(0x8000) : std::nullopt);
    }
    // A BPS patch made for another image of the same size changes nothing.
    tamo::test::TestRom other = base;
    other.byte(0x7FFF, 1);
    const Bytes foreign = tamo::MakePatch(PatchFormat::Bps, other.bytes, changed.bytes);
    EXPECT_THROW(tamo::PatchImage({image, base.offsets, ini}, foreign), tamo::PatchError);
}
