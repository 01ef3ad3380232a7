// BPS patches: the writer's bytes for small cases, written out by hand; the checks of a
// damaged or hostile patch; round trips on random edits.
#include "core/bps_patch.h"
#include "core/crc32.h"
#include "tests/support/patch_bytes.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <string>

using tamo::PatchError;
using tamo::test::PatchBytes;
using tamo::test::RandomBytes;
using tamo::test::ReferenceCrc32;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes counting(size_t size)
{
    Bytes bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t(0));
    return bytes;
}

std::string applyError(const Bytes &patch, const Bytes &source)
{
    return tamo::test::PatchErrorText([&] { tamo::ApplyBpsPatch(patch, source); });
}

} // namespace

TEST(Crc32, GivesTheKnownValuesAndAgreesWithTheBitwiseDefinition)
{
    const std::string nine = "123456789";
    EXPECT_EQ(tamo::Crc32(Bytes(nine.begin(), nine.end())), 0xCBF43926u);
    EXPECT_EQ(tamo::Crc32({}), 0u);
    // Lengths around the eight-byte steps, and a long one.
    for (const size_t size : {1, 7, 8, 9, 15, 16, 17, 100003}) {
        const Bytes bytes = RandomBytes(size, unsigned(size));
        EXPECT_EQ(tamo::Crc32(bytes), ReferenceCrc32(bytes)) << size;
    }
}

TEST(BpsNumber, HasOneSpellingPerValue)
{
    const std::vector<std::pair<uint64_t, Bytes>> spellings{
        {0, {0x80}}, {1, {0x81}}, {127, {0xFF}}, {128, {0x00, 0x80}}, {255, {0x7F, 0x80}},
        {16511, {0x7F, 0xFF}}, {16512, {0x00, 0x00, 0x80}}};
    for (const auto &[value, expected] : spellings) {
        Bytes spelled;
        tamo::AppendBpsNumber(spelled, value);
        EXPECT_EQ(spelled, expected) << value;
        EXPECT_EQ(tamo::BpsNumberSize(value), expected.size()) << value;
    }
}

TEST(BpsPatch, SmallCasesGiveTheBytesWorkedOutByHand)
{
    // One changed byte: SourceRead 5, TargetRead 1 (0xAA), SourceRead 10.
    Bytes changed = counting(16);
    changed[5] = 0xAA;
    EXPECT_EQ(tamo::MakeBpsPatch(counting(16), changed),
              (Bytes{'B', 'P', 'S', '1', 0x90, 0x90, 0x80, 0x90, 0x81, 0xAA, 0xA4, 0x88, 0xE2, 0xCE, 0xCE,
                     0x06, 0xAC, 0x4B, 0xAC, 0x9D, 0x46, 0x69, 0xF3}));
    // The two halves swapped: SourceCopy 16 from +16, SourceCopy 16 from 32 back.
    Bytes swapped = counting(32);
    std::rotate(swapped.begin(), swapped.begin() + 16, swapped.end());
    EXPECT_EQ(tamo::MakeBpsPatch(counting(32), swapped),
              (Bytes{'B', 'P', 'S', '1', 0xA0, 0xA0, 0x80, 0xBE, 0xA0, 0xBE, 0xC1, 0x8A, 0x7E, 0x26, 0x91,
                     0x9E, 0xC1, 0x5E, 0x4F, 0x5E, 0x00, 0xEF, 0x06}));
    // A longer target of one byte: TargetRead 1, then TargetCopy 23 from the byte before.
    EXPECT_EQ(tamo::MakeBpsPatch(Bytes(8, 0), Bytes(24, 0x55)),
              (Bytes{'B', 'P', 'S', '1', 0x88, 0x98, 0x80, 0x81, 0x55, 0xDB, 0x80, 0x69, 0xDF, 0x22, 0x65,
                     0x41, 0x7C, 0xE5, 0x3F, 0xFE, 0x9E, 0x01, 0x97}));
    // A shorter target: SourceRead 10.
    EXPECT_EQ(tamo::MakeBpsPatch(counting(32), counting(10)),
              (Bytes{'B', 'P', 'S', '1', 0xA0, 0x8A, 0x80, 0xA4, 0x8A, 0x7E, 0x26, 0x91, 0x46, 0xD7, 0x6C,
                     0x45, 0xFF, 0xCA, 0xF4, 0x42}));
}

TEST(BpsPatch, RoundTripsOnRandomEditsAndCopiesAMovedBlockForAFewBytes)
{
    std::mt19937 random(18);
    const Bytes source = RandomBytes(1 << 20, 1);
    for (int round = 0; round < 6; ++round) {
        const Bytes target = tamo::test::RandomlyEdited(source, random, round);
        const Bytes patch = tamo::MakeBpsPatch(source, target);
        EXPECT_EQ(tamo::ApplyBpsPatch(patch, source), target) << round;
        EXPECT_LT(patch.size(), 4000u) << round;
    }
    // 2,048 bytes moved 1,280 further on, the place they left cleared.
    Bytes moved = source;
    std::copy_n(source.begin() + 300000, 2048, moved.begin() + 301280);
    std::fill_n(moved.begin() + 300000, 1280, uint8_t(0));
    const Bytes patch = tamo::MakeBpsPatch(source, moved);
    EXPECT_EQ(tamo::ApplyBpsPatch(patch, source), moved);
    EXPECT_LT(patch.size(), 60u);
    // New bytes written twice: the second time they are copied from the first.
    Bytes twice = source;
    const Bytes fresh = RandomBytes(300, 9);
    std::copy(fresh.begin(), fresh.end(), twice.begin() + 5000);
    std::copy(fresh.begin(), fresh.end(), twice.begin() + 9000);
    const Bytes twicePatch = tamo::MakeBpsPatch(source, twice);
    EXPECT_EQ(tamo::ApplyBpsPatch(twicePatch, source), twice);
    EXPECT_LT(twicePatch.size(), 300u + 60u);
}

TEST(BpsPatch, ChecksThePatchCrcFirstThenTheSourceThenTheTarget)
{
    const Bytes source = counting(64);
    Bytes target = source;
    target[10] = 0;
    const Bytes patch = tamo::MakeBpsPatch(source, target);

    Bytes damaged = patch;
    damaged[8] ^= 0x40;
    EXPECT_EQ(applyError(damaged, Bytes(3)).rfind("patch CRC mismatch", 0), 0u) << applyError(damaged, Bytes(3));
    EXPECT_EQ(applyError(patch, counting(63)), "source is 63 bytes, the patch was made for 64");
    // Another image of the same size.
    Bytes other = source;
    other[40] = 1;
    EXPECT_EQ(applyError(patch, other).rfind("source CRC mismatch", 0), 0u) << applyError(patch, other);

    const tamo::BpsHeader header = tamo::ReadBpsPatch(patch);
    EXPECT_EQ(header.sourceSize, 64u);
    EXPECT_EQ(header.targetSize, 64u);
    EXPECT_EQ(header.sourceCrc, ReferenceCrc32(source));
    EXPECT_EQ(header.targetCrc, ReferenceCrc32(target));
    EXPECT_EQ(header.patchCrc, ReferenceCrc32(Bytes(patch.begin(), patch.end() - 4)));

    // Actions that make other bytes than the target CRC names.
    const Bytes wrongTarget = PatchBytes().text("BPS1").number(4).number(4).number(0).number(3 << 2).bpsEnd(
        ReferenceCrc32(counting(4)), ReferenceCrc32(Bytes(4)));
    EXPECT_EQ(applyError(wrongTarget, counting(4)).rfind("target CRC mismatch", 0), 0u);
}

TEST(BpsPatch, NamesACopierHeaderWhenTheSizesDifferBy512)
{
    const Bytes patch = PatchBytes().text("BPS1").number(4194816).number(1).number(0).number(1).raw({7}).bpsEnd(0, 0);
    EXPECT_EQ(applyError(patch, Bytes(4194304)),
              "source is 4,194,304 bytes, the patch was made for 4,194,816: a 512-byte copier header?");
}

TEST(BpsPatch, RefusesHostilePatchesBeforeAllocatingAndSaysWhere)
{
    const Bytes source = counting(16);
    const uint32_t sourceCrc = ReferenceCrc32(source);
    const auto header = [&](uint64_t targetSize) {
        return PatchBytes().text("BPS1").number(16).number(targetSize).number(0);
    };
    const std::vector<std::pair<Bytes, std::string>> cases{
        {header(uint64_t(1) << 40).bpsEnd(sourceCrc, 0),
         "target size at patch byte 5 says the target is 1,099,511,627,776 bytes, more than the "
         "1,073,741,824 bytes a patch may make"},
        // An endless number: no byte ends it.
        {header(4).raw({0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).bpsEnd(sourceCrc, 0),
         "action at patch byte 7 holds a number longer than 63 bits"},
        {header(4).raw({0x00}).bpsEnd(sourceCrc, 0),
         "action at patch byte 7 runs into the checksums at the end of the patch"},
        // TargetRead of 4 bytes with 2 of them in the patch.
        {header(4).number(3 << 2 | 1).raw({1, 2}).bpsEnd(sourceCrc, 0),
         "TargetRead at patch byte 7 runs into the checksums at the end of the patch"},
        {header(4).number(4 << 2 | 0).bpsEnd(sourceCrc, 0),
         "SourceRead at patch byte 7 writes 5 bytes at target byte 0, past the end of the target (4 bytes)"},
        {header(20).number(19 << 2 | 0).bpsEnd(sourceCrc, 0),
         "SourceRead at patch byte 7 reads past the end of the source (16 bytes)"},
        // SourceCopy of 4 bytes from 13, and from one before the start.
        {header(4).number(3 << 2 | 2).number(13 << 1).bpsEnd(sourceCrc, 0),
         "SourceCopy at patch byte 7 reads outside the source (16 bytes)"},
        {header(4).number(3 << 2 | 2).number(1 << 1 | 1).bpsEnd(sourceCrc, 0),
         "SourceCopy at patch byte 7 reads outside the source (16 bytes)"},
        // TargetCopy before anything is written, and from the byte being written.
        {header(4).number(3 << 2 | 3).number(0).bpsEnd(sourceCrc, 0),
         "TargetCopy at patch byte 7 reads target bytes not written before it"},
        {header(4).number(0 << 2 | 1).raw({9}).number(2 << 2 | 3).number(1 << 1).bpsEnd(sourceCrc, 0),
         "TargetCopy at patch byte 9 reads target bytes not written before it"},
        {header(8).number(3 << 2 | 0).bpsEnd(sourceCrc, 0),
         "the patch's actions make 4 bytes, but its header says the target has 8 bytes"},
        {PatchBytes().text("BPS1").number(16).number(0).number(1u << 30).bpsEnd(sourceCrc, 0),
         "metadata at patch byte 6 runs into the checksums at the end of the patch"},
        {PatchBytes().text("BPS2").number(16).number(0).number(0).bpsEnd(sourceCrc, 0),
         "not a BPS patch: it does not begin with \"BPS1\""},
        {PatchBytes().text("BPS1").raw({0x80, 0x80}).le32(0).le32(0).bytes,
         "the BPS patch is 14 bytes long, too short for its header and checksums"},
    };
    for (const auto &[patch, message] : cases) {
        EXPECT_EQ(applyError(patch, source), message);
        EXPECT_THROW(tamo::ReadBpsPatch(patch), PatchError) << message;
    }
    // A 1 GiB target from a few bytes is made only up to the ceiling it is given.
    const Bytes huge = PatchBytes().text("BPS1").number(0).number(1u << 30).number(0).number(0 << 2 | 1).raw({0})
                           .number(uint64_t((1u << 30) - 2) << 2 | 3).number(0).bpsEnd(ReferenceCrc32({}), 0);
    EXPECT_EQ(tamo::ReadBpsPatch(huge).targetSize, uint64_t(1) << 30);
    EXPECT_THROW(tamo::ApplyBpsPatch(huge, {}, 1 << 20), PatchError);
}
