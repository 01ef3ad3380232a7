// make-patch, apply-patch and patch-info: patches that give the modified file byte for
// byte, the checks that refuse a patch and write nothing, and what patch-info reports.
#include "tests/cli/small_rom.h"
#include "tests/support/patch_bytes.h"

#include <QJsonArray>
#include <QJsonObject>

#include <fstream>

namespace {

using Bytes = std::vector<uint8_t>;
using tamo::test::RandomBytes;
using tamo::test::ReferenceCrc32;

// Besides the small ROM's folder, a program folder of its own whose tables lie 0x400 bytes
// apart in a blank image: each stage's settings entries are its own, its lists are the
// empty ones all stages share, so that the stages a change touches are plain.
struct PatchCommandsTest : SmallRomTest
{
    static constexpr size_t StageBG = 0x1000;
    static constexpr size_t StageMusic = 0x1400;

    void SetUp() override
    {
        SmallRomTest::SetUp();
        std::filesystem::create_directories(home / "clean" / "Data");
        std::ofstream(home / "clean" / "Data" / "offsets.ini")
            << "[Offset]\nLevelFunc=0\nTileMap=0x400\nBanana=0x800\nFG=0xC00\nBG=0x1000\nMusic=0x1400\n"
               "Darkness=0x1800\nCamera=0x1C00\nStartPoint=0x2000\nSprite=0x2400\nStartAction=0x2800\n"
               "BaseCamera=0x3000\nBaseSprite=0x4000\nBanana2=0x5000\n";
    }

    // A blank image of that layout.
    static Bytes blank(size_t size)
    {
        Bytes bytes(size, 0);
        bytes[0x3004] = bytes[0x3005] = 0xFF; // the end of the shared camera list
        return bytes;
    }

    CliRun clean(const QStringList &arguments) const
    {
        return runTamoCli(QStringList{"--home", qPath(home / "clean")} + arguments);
    }

    std::filesystem::path file(const char *name) const { return home / name; }
    QString arg(const char *name) const { return qPath(file(name)); }

    void write(const char *name, const Bytes &bytes) const
    {
        std::ofstream(file(name), std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()),
                                                          std::streamsize(bytes.size()));
    }

    // Makes BASE -> MODIFIED as OUT, applies OUT to BASE as result.smc, and gives its bytes.
    Bytes roundTrip(const char *base, const char *modified, const char *out) const
    {
        const CliRun made = clean({"make-patch", arg(base), arg(modified), arg(out)});
        EXPECT_EQ(made.exitCode, 0) << made.err.constData();
        const CliRun applied = clean({"apply-patch", arg(base), arg(out), arg("result.smc")});
        EXPECT_EQ(applied.exitCode, 0) << applied.err.constData();
        return fileBytes(file("result.smc"));
    }
};

} // namespace

TEST_F(PatchCommandsTest, MadePatchesApplyToGiveTheModifiedFileByteForByte)
{
    const Bytes base = image.bytes();
    Bytes first = base, last = base, run = base, longer = base;
    first.front() ^= 0xFF;
    last.back() ^= 0x01;
    std::fill_n(run.begin() + 0x100, 3000, uint8_t(0x5A));
    const Bytes tail = RandomBytes(5000, 3);
    longer.insert(longer.end(), tail.begin(), tail.end());
    const Bytes shorter(base.begin(), base.begin() + 3000);
    for (const auto &[name, modified] : std::vector<std::pair<std::string, Bytes>>{
             {"first", first}, {"last", last}, {"run", run}, {"longer", longer}, {"shorter", shorter}}) {
        write("modified.smc", modified);
        EXPECT_EQ(roundTrip("rom.smc", "modified.smc", "fix.bps"), modified) << name;
        EXPECT_EQ(roundTrip("rom.smc", "modified.smc", "FIX.IPS"), modified) << name;
    }
}

TEST_F(PatchCommandsTest, EditsAroundOffset0x454F46RoundTrip)
{
    Bytes base = blank(5 << 20);
    const Bytes near = RandomBytes(0x100, 5);
    std::copy(near.begin(), near.end(), base.begin() + 0x454F00);
    Bytes modified = base;
    for (size_t at = 0x454F40; at < 0x454F50; ++at)
        modified[at] = uint8_t(~base[at]);
    write("base.smc", base);
    write("modified.smc", modified);
    EXPECT_EQ(roundTrip("base.smc", "modified.smc", "fix.ips"), modified);
    EXPECT_EQ(roundTrip("base.smc", "modified.smc", "fix.bps"), modified);
}

TEST_F(PatchCommandsTest, ARefusedPatchOrNameWritesNothing)
{
    Bytes modified = image.bytes();
    modified[0x123] = 0x77;
    write("modified.smc", modified);
    ASSERT_EQ(cli({"make-patch", rom(), arg("modified.smc"), arg("fix.bps")}).exitCode, 0);

    // Another ROM of the same size, also as OUT itself.
    Bytes other = image.bytes();
    other[0xFFF] = 0x01;
    write("other.smc", other);
    for (const char *out : {"out.smc", "other.smc"}) {
        const CliRun run = cli({"apply-patch", arg("other.smc"), arg("fix.bps"), arg(out)});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.oneErrorLine());
        EXPECT_TRUE(run.err.contains("fix.bps: source CRC mismatch")) << run.err.constData();
    }
    EXPECT_FALSE(std::filesystem::exists(file("out.smc")));
    EXPECT_EQ(fileBytes(file("other.smc")), other);

    Bytes damaged = fileBytes(file("fix.bps"));
    damaged[6] ^= 1;
    write("damaged.bps", damaged);
    const CliRun run = cli({"apply-patch", rom(), arg("damaged.bps"), arg("out.smc")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("patch CRC mismatch")) << run.err.constData();
    EXPECT_EQ(cli({"patch-info", arg("damaged.bps")}).exitCode, 1);

    // OUT names no format: a usage error before any file is read.
    const CliRun usage = cli({"make-patch", arg("missing.smc"), arg("modified.smc"), arg("fix.txt")});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.oneErrorLine());
    EXPECT_FALSE(std::filesystem::exists(file("fix.txt")));
    EXPECT_FALSE(std::filesystem::exists(file("out.smc")));
    EXPECT_EQ(romFile(), image.bytes());
}

TEST_F(PatchCommandsTest, PatchInfoShowsSizesChecksumsAndTheStagesChanged)
{
    const Bytes base = blank(0x8000);
    Bytes modified = base;
    modified[StageBG + 2 * 7] = 0x12;        // stage 7's background
    modified[StageMusic + 2 * 100 + 1] = 1; // stage 100's music
    write("base.smc", base);
    write("modified.smc", modified);
    const QJsonObject made = clean({"make-patch", arg("base.smc"), arg("modified.smc"), arg("fix.bps")}).json().object();
    EXPECT_EQ(made["stages"].toArray(), (QJsonArray{7, 100}));
    ASSERT_EQ(clean({"make-patch", arg("base.smc"), arg("modified.smc"), arg("fix.ips")}).exitCode, 0);
    const Bytes patch = fileBytes(file("fix.bps"));
    EXPECT_EQ(made["patch_size"].toInteger(), qint64(patch.size()));

    const QJsonObject bps = clean({"patch-info", arg("fix.bps")}).json().object();
    EXPECT_EQ(bps["format"].toString(), "bps");
    EXPECT_EQ(bps["source_size"].toInteger(), 0x8000);
    EXPECT_EQ(bps["target_size"].toInteger(), 0x8000);
    EXPECT_EQ(bps["source_crc32"].toInteger(), ReferenceCrc32(base));
    EXPECT_EQ(bps["target_crc32"].toInteger(), ReferenceCrc32(modified));
    EXPECT_EQ(bps["patch_crc32"].toInteger(), ReferenceCrc32(Bytes(patch.begin(), patch.end() - 4)));
    EXPECT_FALSE(bps.contains("stages"));

    const QJsonObject ips = clean({"patch-info", arg("fix.ips")}).json().object();
    EXPECT_EQ(ips["format"].toString(), "ips");
    EXPECT_TRUE(ips["source_size"].isNull());
    EXPECT_TRUE(ips["target_size"].isNull());
    EXPECT_FALSE(ips.contains("source_crc32"));

    for (const char *name : {"fix.bps", "fix.ips"}) {
        const QJsonObject info = clean({"patch-info", arg(name), arg("base.smc")}).json().object();
        EXPECT_EQ(info["source_size"].toInteger(), 0x8000) << name;
        EXPECT_EQ(info["target_size"].toInteger(), 0x8000) << name;
        EXPECT_EQ(info["changed_bytes"].toInteger(), 2) << name;
        EXPECT_EQ(info["stages"].toArray(), (QJsonArray{7, 100})) << name;
    }
}

TEST_F(PatchCommandsTest, ApplyingOverTheRomItselfGivesItTheTargetsLength)
{
    const Bytes shorter(image.bytes().begin(), image.bytes().begin() + 1000);
    write("short.smc", shorter);
    ASSERT_EQ(cli({"make-patch", rom(), arg("short.smc"), arg("cut.ips")}).exitCode, 0);
    const CliRun run = cli({"apply-patch", rom(), arg("cut.ips"), rom()});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.json()["written"].toBool());
    EXPECT_EQ(romFile(), shorter);
}
