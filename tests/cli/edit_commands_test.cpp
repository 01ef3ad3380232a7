// The edit commands: what they write, --dry-run, and the file left untouched on errors.
#include "tests/cli/small_rom.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>

namespace {

using EditCommandsTest = SmallRomTest;

// The offsets at which two images differ.
std::vector<size_t> changedOffsets(const std::vector<uint8_t> &before, const std::vector<uint8_t> &after)
{
    std::vector<size_t> changed;
    for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
        if (before[i] != after[i])
            changed.push_back(i);
    }
    return changed;
}

uint16_t wordAt(const std::vector<uint8_t> &bytes, size_t offset)
{
    return uint16_t(bytes[offset] | (bytes[offset + 1] << 8));
}

TEST_F(EditCommandsTest, SetTileWritesTheCellWordCutTo16Bits)
{
    const auto before = romFile();
    const CliRun run = cli({"set-tile", rom(), "1", "3", "5", "0x1C123"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const auto after = romFile();
    ASSERT_EQ(after.size(), before.size());
    const size_t cell = TileMapData + 2 * ((3 + TilemapStart / 32) * 16 + 5);
    EXPECT_EQ(wordAt(after, cell), 0xC123);
    for (size_t offset : changedOffsets(before, after))
        EXPECT_TRUE(offset == cell || offset == cell + 1) << offset;
    EXPECT_EQ(run.json()["offset"].toInt(), int(cell));
    EXPECT_TRUE(run.json()["written"].toBool());
    // The tiles command shows the new word in its place.
    EXPECT_EQ(cli({"tiles", rom(), "1"}).json()["rows"].toArray()[5].toArray()[3].toInt(), 0xC123);
}

TEST_F(EditCommandsTest, SetTileOutsideTheMapFailsAndKeepsTheFile)
{
    const auto before = romFile();
    for (const QStringList &cell : {QStringList{"16", "0"}, QStringList{"0", "16"}, QStringList{"-1", "0"}}) {
        const CliRun run = cli({"set-tile", rom(), "1", cell[0], cell[1], "1"});
        EXPECT_EQ(run.exitCode, 1) << cell.join(',').toStdString();
        EXPECT_TRUE(run.oneErrorLine());
    }
    // Screen mode 1 has no editable tile map.
    const CliRun modeOne = cli({"set-tile", rom(), "2", "0", "0", "1"});
    EXPECT_EQ(modeOne.exitCode, 1);
    EXPECT_TRUE(modeOne.err.contains("mode 1"));
    EXPECT_EQ(romFile(), before);
}

TEST_F(EditCommandsTest, SetSpriteWritesTheWholeRecord)
{
    const auto before = romFile();
    const CliRun run = cli({"set-sprite", rom(), "1", "1", "0x0003", "70000", "-1", "$9201"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonArray records = cli({"sprites", rom(), "1"}).json()["records"].toArray();
    ASSERT_EQ(records.size(), qsizetype(sprites.size()));
    const QJsonObject record = records[1].toObject();
    EXPECT_EQ(record["param"].toInt(), 3);
    EXPECT_EQ(record["x"].toInt(), 70000 & 0xFFFF);
    EXPECT_EQ(record["y"].toInt(), 0xFFFF);
    EXPECT_EQ(record["type"].toInt(), 0x9201);
    const size_t start = offsets.BaseSprite + SpritePointer + 8;
    for (size_t offset : changedOffsets(before, romFile()))
        EXPECT_TRUE(offset >= start && offset < start + 8) << offset;
}

TEST_F(EditCommandsTest, RecordIndexMustNameAnExistingRecord)
{
    const auto before = romFile();
    const QList<QStringList> commands{
        {"set-sprite", rom(), "1", QString::number(sprites.size()), "1", "2", "3", "4"},
        {"set-sprite", rom(), "1", "-1", "1", "2", "3", "4"},
        {"set-camera", rom(), "1", QString::number(cameras.size()), "1", "2"},
        {"set-banana", rom(), "1", QString::number(bananas.size()), "1", "2", "3"},
        {"set-camera", rom(), "2", "0", "1", "2"}, // stage 2 has no cameras
    };
    for (const QStringList &command : commands) {
        const CliRun run = cli(command);
        EXPECT_EQ(run.exitCode, 1) << command.join(' ').toStdString();
        EXPECT_TRUE(run.oneErrorLine());
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(romFile(), before);
}

TEST_F(EditCommandsTest, SetCameraWritesAfterTheBlockHead)
{
    const CliRun run = cli({"set-camera", rom(), "1", "1", "0x345", "0x67"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const size_t record = offsets.BaseCamera + CameraPointer - 4 + 8 + 4;
    EXPECT_EQ(run.json()["offset"].toInt(), int(record));
    const auto bytes = romFile();
    EXPECT_EQ(wordAt(bytes, record), 0x345);
    EXPECT_EQ(wordAt(bytes, record + 2), 0x67);
    // The block's head is the tile map range, untouched.
    EXPECT_EQ(wordAt(bytes, record - 12), TilemapStart);
    EXPECT_EQ(wordAt(bytes, record - 10), TilemapEnd);
}

TEST_F(EditCommandsTest, SetBananaCutsGroupAndYToEightBits)
{
    const CliRun run = cli({"set-banana", rom(), "1", "0", "0x102", "0x4321", "300"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonObject record = cli({"bananas", rom(), "1"}).json()["records"].toArray()[0].toObject();
    EXPECT_EQ(record["group"].toInt(), 0x02);
    EXPECT_EQ(record["y"].toInt(), 44);
    EXPECT_EQ(record["x"].toInt(), 0x4321);
    // Y is stored before X.
    const auto bytes = romFile();
    const size_t list = offsets.Banana2 + BananaDistance;
    EXPECT_EQ(bytes[list + 1], 44);
    EXPECT_EQ(wordAt(bytes, list + 2), 0x4321);
}

TEST_F(EditCommandsTest, SetSettingsChangesOnlyTheNamedFields)
{
    const QJsonObject before = cli({"settings", rom(), "1"}).json().object();
    const CliRun run = cli({"set-settings", rom(), "1", "music=0x0102", "func=$FFFFFFFE", "bg_color=300",
                            "tilemap_end=96"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    QJsonObject expected = before;
    expected["music"] = 0x0102;
    expected["func"] = 0xFFFFFFFELL;
    expected["bg_color"] = 44;
    expected["tilemap_end"] = 96;
    EXPECT_EQ(cli({"settings", rom(), "1"}).json().object(), expected);
    // The new tile map range gives the stage its new size.
    EXPECT_EQ(cli({"info", rom(), "1"}).json()["map_width"].toInt(), (96 - TilemapStart) / 32 + 8);
}

TEST_F(EditCommandsTest, SetSettingsErrorsKeepTheFile)
{
    const auto before = romFile();
    const CliRun unknown = cli({"set-settings", rom(), "1", "music=1", "volume=3"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains("volume"));
    EXPECT_EQ(cli({"set-settings", rom(), "1", "music=loud"}).exitCode, 2);
    EXPECT_EQ(cli({"set-settings", rom(), "1", "music"}).exitCode, 2);
    EXPECT_EQ(cli({"set-settings", rom(), "1", "music="}).exitCode, 2);
    EXPECT_EQ(romFile(), before);
}

TEST_F(EditCommandsTest, DryRunChangesNothingOnDisk)
{
    const auto before = romFile();
    const CliRun run = cli({"set-sprite", "--dry-run", rom(), "1", "0", "9", "9", "9", "9"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_FALSE(run.json()["written"].toBool());
    EXPECT_GT(run.json()["changed_bytes"].toInt(), 0);
    EXPECT_EQ(romFile(), before);
}

TEST_F(EditCommandsTest, WritingBackWhatWasReadKeepsTheFile)
{
    const auto before = romFile();
    const QJsonObject sprite = cli({"sprites", rom(), "1"}).json()["records"].toArray()[2].toObject();
    const CliRun run = cli({"set-sprite", rom(), "1", "2", QString::number(sprite["param"].toInt()),
                            QString::number(sprite["x"].toInt()), QString::number(sprite["y"].toInt()),
                            QString::number(sprite["type"].toInt())});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.json()["changed_bytes"].toInt(), 0);
    const QJsonObject settings = cli({"settings", rom(), "1"}).json().object();
    QStringList assignments{"set-settings", rom(), "1"};
    for (auto it = settings.begin(); it != settings.end(); ++it)
        assignments.append(it.key() + "=" + QString::number(it.value().toInteger()));
    ASSERT_EQ(cli(assignments).exitCode, 0);
    EXPECT_EQ(romFile(), before);
}

// The camera pointer whose block starts at the given offset.
void pointCameraBlockAt(tamo::RomImage &image, const tamo::OffsetTable &offsets, int32_t block)
{
    image.writeWord(offsets.Camera + 2, uint32_t(block - offsets.BaseCamera + 4), "Camera");
}

TEST_F(EditCommandsTest, SettingsReachingPastTheImageFailAndKeepTheFile)
{
    // The block head is the image's last four bytes: both words can be written.
    pointCameraBlockAt(image, offsets, RomSize - 4);
    writeRom();
    EXPECT_EQ(cli({"set-settings", rom(), "1", "tilemap_start=0", "tilemap_end=0x7FFF"}).exitCode, 0);
    // Two bytes further on, TilemapEnd lies past the end.
    pointCameraBlockAt(image, offsets, RomSize - 2);
    writeRom();
    const auto before = romFile();
    const CliRun outside = cli({"set-settings", rom(), "1", "music=3", "tilemap_end=0"});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_TRUE(outside.oneErrorLine());
    // All or nothing: music is not written either.
    EXPECT_EQ(romFile(), before);
}

TEST_F(EditCommandsTest, SavingIntoAReadOnlyFileSystemSaysSo)
{
    // A mount namespace of its own, where this folder is bound read-only over itself.
    const QString readOnly = QStringLiteral(
        "home=$1; shift; mount --bind \"$home\" \"$home\" && mount -o remount,bind,ro \"$home\" && "
        "exec \"$0\" --home \"$home\" \"$@\"");
    QProcess probe;
    probe.start(QStringLiteral("unshare"), {QStringLiteral("-rm"), QStringLiteral("true")});
    if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        GTEST_SKIP() << "no mount namespace can be made here";

    const std::vector<uint8_t> before = romFile();
    QProcess process;
    process.start(QStringLiteral("unshare"),
                  QStringList{QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"), readOnly,
                              QStringLiteral(TAMO_CLI_PATH), qPath(home)}
                      + QStringList{"set-tile", rom(), "1", "3", "5", "1"});
    ASSERT_TRUE(process.waitForFinished(120000));
    const QByteArray err = process.readAllStandardError();
    EXPECT_EQ(process.exitCode(), 1) << err.constData();
    EXPECT_TRUE(err.contains("rom.smc: the file system is read-only")) << err.constData();
    EXPECT_FALSE(err.contains("write-protected")) << "the file's mode allows writing";
    EXPECT_EQ(romFile(), before);
}

} // namespace
