// find-chip and replace-chip: on the small ROM with literal bytes, and on the
// demo ROM against a count the test makes from the tile words itself.
#include "cli/demo_themes.h"
#include "core/ini_file.h"
#include "tests/cli/small_rom.h"
#include "tests/support/chip_count.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

class ChipCommandsOnSmallRom : public SmallRomTest
{
protected:
    // Stage 1 shows map columns 2 to 17; the word of column c, row r is c * 0x100 + r.
    static int64_t mapCell(int column, int row) { return TileMapData + 2 * (column * 16 + row); }

    void SetUp() override
    {
        SmallRomTest::SetUp();
        // Chip 0305 stands in map column 3, row 5 already; two more with flips.
        image.writeWord(mapCell(4, 0), 0x4305, "test");
        image.writeWord(mapCell(10, 9), 0x8305, "test");
        writeRom();
    }
};

TEST_F(ChipCommandsOnSmallRom, ReplaceChipWritesTheWordsAndDryRunWritesNothing)
{
    const auto before = romFile();
    const CliRun dry = cli({"replace-chip", "--dry-run", rom(), "0x305", "0x40B0"});
    ASSERT_EQ(dry.exitCode, 0) << dry.err.constData();
    EXPECT_EQ(dry.json()["cells"].toInt(), 3);
    EXPECT_FALSE(dry.json()["written"].toBool());
    EXPECT_EQ(romFile(), before);

    const CliRun run = cli({"replace-chip", rom(), "0x305", "0xB0", "--keep-flips", "--stage", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.json()["cells"].toInt(), 3);
    EXPECT_EQ(run.json()["changed_bytes"].toInt(), 6);
    EXPECT_EQ(run.json()["description"].toString(), "Replace chip 305 by 0B0 in 3 cells");
    std::vector<uint8_t> expected = before;
    for (const auto &[column, row, high] : {std::tuple{3, 5, 0x00}, {4, 0, 0x40}, {10, 9, 0x80}}) {
        expected[size_t(mapCell(column, row))] = 0xB0;
        expected[size_t(mapCell(column, row)) + 1] = uint8_t(high);
    }
    EXPECT_EQ(romFile(), expected);
}

TEST_F(ChipCommandsOnSmallRom, BadArgumentsAndStagesWithoutAMapLeaveTheFile)
{
    const auto before = romFile();
    const QList<std::pair<QStringList, int>> runs{
        {{"replace-chip", rom(), "0x4000", "1"}, 2},                 // FROM is no chip
        {{"replace-chip", rom(), "1", "0x10000"}, 2},                // TO is no tile word
        {{"replace-chip", rom(), "1", "0x40B0", "--keep-flips"}, 2}, // flips with --keep-flips
        {{"replace-chip", rom(), "1", "2", "--stage", "230"}, 2},
        {{"find-chip", rom(), "-1"}, 2},
        {{"replace-chip", rom(), "1", "2", "--stage", "2"}, 1},      // screen mode 1
        {{"replace-chip", qPath(home / "missing.smc"), "1", "2"}, 1},
    };
    for (const auto &[arguments, status] : runs) {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, status) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.oneErrorLine()) << run.err.constData();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(romFile(), before);
}

TEST(ChipCommandsOnDemoRom, FindAndReplaceAgreeWithTheTileWords)
{
    QTemporaryDir folder;
    const std::filesystem::path build(TAMO_BUILD_DIR);
    const std::filesystem::path romPath = std::filesystem::path(folder.path().toStdString()) / "demo.smc";
    std::filesystem::copy_file(build / "demo.smc", romPath);
    const tamo::IniFile ini = tamo::IniFile::load(build / "Data" / "offsets.ini");
    const auto cli = [&](QStringList arguments) { return runTamoCli(QStringList{"--home", qPath(build)} + arguments); };
    const std::vector<uint8_t> before = fileBytes(romPath);
    const tamo::test::ChipCount count = tamo::test::CountChip(before, ini, tamo::cli::ChipGrassEdge);

    const CliRun found = cli({"find-chip", qPath(romPath), QString::number(tamo::cli::ChipGrassEdge)});
    ASSERT_EQ(found.exitCode, 0) << found.err.constData();
    QJsonArray expected;
    size_t cellsOfAllStages = 0;
    for (const auto &[level, cells] : count.cellsOfStage) {
        QJsonArray cellsJson;
        for (const auto &[column, row] : cells)
            cellsJson.append(QJsonArray{column, row});
        expected.append(QJsonObject{{"stage", level}, {"cells", cellsJson}});
        cellsOfAllStages += cells.size();
    }
    EXPECT_EQ(found.json().object(), (QJsonObject{{"chip", tamo::cli::ChipGrassEdge}, {"stages", expected}}));
    // Stages share tile maps: some cells are counted by more than one stage.
    EXPECT_GT(cellsOfAllStages, count.words.size());

    const CliRun replaced = cli({"replace-chip", qPath(romPath), QString::number(tamo::cli::ChipGrassEdge),
                                 QString::number(tamo::cli::ChipMailbox), "--keep-flips"});
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err.constData();
    EXPECT_EQ(replaced.json()["cells"].toInteger(), qint64(count.words.size()));
    std::vector<uint8_t> after = before;
    for (const size_t at : count.words)
        after[at] = uint8_t(tamo::cli::ChipMailbox); // the high byte holds the flips, kept
    EXPECT_EQ(fileBytes(romPath), after);
    EXPECT_EQ(cli({"find-chip", qPath(romPath), QString::number(tamo::cli::ChipGrassEdge)}).json()["stages"].toArray(),
              QJsonArray{});
}

} // namespace
