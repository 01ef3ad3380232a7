// IPS patches: the writer's bytes for small cases, written out by hand; what no record may
// do; the checks of a damaged patch; round trips checked by the tests' own reader.
#include "core/ips_patch.h"
#include "tests/support/patch_bytes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using tamo::PatchError;
using tamo::test::PatchBytes;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr uint32_t EofOffset = 0x454F46;

struct Record
{
    uint32_t offset;
    uint32_t size;
};

// The tests' own reading of an IPS patch, from the format's definition: applies it to
// source and lists its records.
Bytes referenceApply(const Bytes &patch, Bytes image, std::vector<Record> &records)
{
    const auto at = [&](size_t i, int length) {
        uint32_t value = 0;
        for (int k = 0; k < length; ++k)
            value = value << 8 | patch.at(i + size_t(k));
        return value;
    };
    size_t i = 5;
    for (;;) {
        const uint32_t offset = at(i, 3);
        if (offset == EofOffset && (i + 3 == patch.size() || i + 6 == patch.size())) {
            if (i + 6 == patch.size())
                image.resize(at(i + 3, 3));
            return image;
        }
        uint32_t size = at(i + 3, 2);
        const bool rle = size == 0;
        if (rle)
            size = at(i + 5, 2);
        if (image.size() < offset + size)
            image.resize(offset + size, 0);
        for (uint32_t k = 0; k < size; ++k)
            image[offset + k] = rle ? patch.at(i + 7) : patch.at(i + 5 + k);
        records.push_back({offset, size});
        i += rle ? 8 : 5 + size;
    }
}

std::string applyError(const Bytes &patch, const Bytes &source)
{
    return tamo::test::PatchErrorText([&] { tamo::ApplyIpsPatch(patch, source); });
}

// Makes the patch, checks its records against the rules, and that both readers give target.
void expectRoundTrip(const Bytes &source, const Bytes &target, const std::string &name)
{
    const Bytes patch = tamo::MakeIpsPatch(source, target);
    std::vector<Record> records;
    EXPECT_EQ(referenceApply(patch, source, records), target) << name;
    EXPECT_EQ(tamo::ApplyIpsPatch(patch, source), target) << name;
    for (const Record &record : records) {
        EXPECT_NE(record.offset, EofOffset) << name;
        EXPECT_LE(record.size, 0xFFFFu) << name;
    }
}

} // namespace

TEST(IpsPatch, SmallCasesGiveTheBytesWorkedOutByHand)
{
    Bytes changed(16, 0);
    changed[2] = 0xA1;
    changed[3] = 0xA2;
    changed[9] = 0xA3;
    // Changes five bytes apart (a record header) get a record each; closer ones share one.
    EXPECT_EQ(tamo::MakeIpsPatch(Bytes(16, 0), changed),
              PatchBytes().text("PATCH").raw({0, 0, 2, 0, 2, 0xA1, 0xA2, 0, 0, 9, 0, 1, 0xA3}).text("EOF").bytes);
    changed.assign(16, 0);
    changed[2] = changed[6] = 1;
    EXPECT_EQ(tamo::MakeIpsPatch(Bytes(16, 0), changed),
              PatchBytes().text("PATCH").raw({0, 0, 2, 0, 5, 1, 0, 0, 0, 1}).text("EOF").bytes);
    // A long run of one byte as an RLE record.
    Bytes run(32, 0);
    std::fill(run.begin() + 4, run.begin() + 24, 0x77);
    EXPECT_EQ(tamo::MakeIpsPatch(Bytes(32, 0), run),
              PatchBytes().text("PATCH").raw({0, 0, 4, 0, 0, 0, 20, 0x77}).text("EOF").bytes);
    // A shorter target: the truncation length; a longer one: a record for the new bytes.
    EXPECT_EQ(tamo::MakeIpsPatch(Bytes(16, 5), Bytes(8, 5)),
              PatchBytes().text("PATCH").text("EOF").raw({0, 0, 8}).bytes);
    EXPECT_EQ(tamo::MakeIpsPatch(Bytes(4, 5), Bytes{5, 5, 5, 5, 0, 0}),
              PatchBytes().text("PATCH").raw({0, 0, 4, 0, 2, 0, 0}).text("EOF").bytes);
    EXPECT_EQ(tamo::MakeIpsPatch(Bytes(4, 5), Bytes(4, 5)), PatchBytes().text("PATCH").text("EOF").bytes);
}

TEST(IpsPatch, NoRecordStartsWhereItWouldReadAsEofNorRunsPast0xFFFF)
{
    const Bytes source(EofOffset + 0x20000, 0);
    Bytes target = source;
    target[EofOffset] = 0x11;
    EXPECT_EQ(tamo::MakeIpsPatch(source, target),
              PatchBytes().text("PATCH").be(EofOffset - 1, 3).be(2, 2).raw({0, 0x11}).text("EOF").bytes);

    // Literal and RLE records whose lengths would end them at the marker's offset.
    std::mt19937 random(7);
    for (const uint32_t start : {EofOffset - 0xFFFF, EofOffset - 0xFFFF * 2, EofOffset - 20}) {
        Bytes literal = source;
        for (uint32_t i = start; i < EofOffset + 40; ++i)
            literal[i] = uint8_t(random() | 1);
        expectRoundTrip(source, literal, "literal from " + std::to_string(start));
        Bytes same = source;
        std::fill(same.begin() + start, same.begin() + EofOffset + 40, uint8_t(9));
        expectRoundTrip(source, same, "run from " + std::to_string(start));
    }
    // A literal record broken by a run of one byte that starts at the marker's offset.
    Bytes broken = source;
    for (uint32_t i = EofOffset - 30; i < EofOffset; ++i)
        broken[i] = uint8_t(i | 1);
    std::fill(broken.begin() + EofOffset, broken.begin() + EofOffset + 40, uint8_t(3));
    broken[EofOffset + 40] = 4;
    expectRoundTrip(source, broken, "run at the marker");
}

TEST(IpsPatch, RoundTripsOnRandomEdits)
{
    std::mt19937 random(18);
    Bytes source(1 << 20);
    for (uint8_t &byte : source)
        byte = uint8_t(random() & 3);
    for (int round = 0; round < 6; ++round) {
        Bytes target = tamo::test::RandomlyEdited(source, random, round);
        // A long run of new bytes, of which no two in a row are the same.
        for (size_t i = random() % 500000, end = i + 100000; i < end; ++i)
            target[i] = uint8_t(i % 2 ? random() | 0x80 : random() & 0x7F);
        expectRoundTrip(source, target, "round " + std::to_string(round));
    }
}

TEST(IpsPatch, RefusesDamagedPatchesAndSaysWhere)
{
    const Bytes source(16, 0);
    const std::vector<std::pair<Bytes, std::string>> cases{
        {PatchBytes().text("PATCX").text("EOF").bytes, "not an IPS patch: it does not begin with \"PATCH\""},
        {PatchBytes().text("PATCH").raw({0, 0, 1, 0, 0x10, 1, 2}).text("EOF").bytes,
         "record at patch byte 5 runs past the end"},
        {PatchBytes().text("PATCH").raw({0, 0, 1, 0, 1, 1, 0, 0}).bytes, "record at patch byte 11 runs past the end"},
        {PatchBytes().text("PATCH").raw({0, 0, 1, 0, 1, 1}).bytes,
         "the IPS patch ends at patch byte 11 without its end marker \"EOF\""},
        {PatchBytes().text("PATCH").raw({0, 0, 1, 0, 0, 0, 0, 5}).text("EOF").bytes,
         "RLE record at patch byte 5 repeats its byte 0 times"},
        {PatchBytes().text("PATCH").text("EOF").raw({0, 0, 1, 0, 1, 1}).bytes,
         "end marker \"EOF\" at patch byte 5 is followed by 6 bytes; only a 3-byte truncation length may follow it"},
        {PatchBytes().text("PATCH").text("EOF").raw({0, 0, 17}).bytes,
         "the IPS patch cuts the image to 17 bytes, more than the 16 it has"},
    };
    for (const auto &[patch, message] : cases)
        EXPECT_EQ(applyError(patch, source), message);

    // The farthest a record can reach lengthens the image, zeros before it.
    Bytes far = PatchBytes().text("PATCH").raw({0xFF, 0xFF, 0xFF, 0xFF, 0xFF}).bytes;
    far.resize(far.size() + 0xFFFF, 0x42);
    far.insert(far.end(), {'E', 'O', 'F'});
    const Bytes patched = tamo::ApplyIpsPatch(far, source);
    ASSERT_EQ(patched.size(), 0xFFFFFFu + 0xFFFF);
    EXPECT_EQ(patched[0xFFFFFE], 0);
    EXPECT_EQ(patched.back(), 0x42);
    EXPECT_EQ(tamo::ReadIpsPatch(far).end, 0xFFFFFFu + 0xFFFF);
}

TEST(IpsPatch, RefusesImagesOver16MiBNamingBps)
{
    const Bytes large((16 << 20) + 1, 0);
    for (const auto &[source, target] : {std::pair{large, Bytes(16)}, std::pair{Bytes(16), large}}) {
        try {
            tamo::MakeIpsPatch(source, target);
            ADD_FAILURE() << "no error";
        } catch (const PatchError &error) {
            EXPECT_NE(std::string(error.what()).find("make a BPS patch"), std::string::npos) << error.what();
        }
    }
    // 16 MiB itself fits: its last byte starts a record at 0xFFFFFF.
    Bytes full(16 << 20, 0);
    Bytes changed = full;
    changed.back() = 1;
    expectRoundTrip(full, changed, "16 MiB");
}
