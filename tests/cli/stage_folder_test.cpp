// export and import: the stage files of the demo ROM and of the small ROM, what a hand-edited
// line writes, and the files that are refused with the ROM left as it was.
#include "tests/cli/small_rom.h"

#include "core/file_system.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace {

namespace fs = std::filesystem;
using Folder = std::map<std::string, QList<QByteArray>>; // file name -> lines

Folder readFolder(const fs::path &dir)
{
    Folder folder;
    for (const fs::directory_entry &entry : fs::directory_iterator(dir)) {
        const std::vector<uint8_t> bytes = fileBytes(entry.path());
        folder[entry.path().filename().string()] = QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())).split('\n');
    }
    return folder;
}

// "file: old line -> new line" for every line that differs between two exports.
QStringList changedLines(const Folder &before, const Folder &after)
{
    QStringList changes;
    EXPECT_EQ(before.size(), after.size());
    for (const auto &[name, lines] : before) {
        const QList<QByteArray> other = after.count(name) ? after.at(name) : QList<QByteArray>{};
        for (qsizetype i = 0; i < std::max(lines.size(), other.size()); ++i) {
            if (lines.value(i) != other.value(i))
                changes.append(QString::fromStdString(name) + ": " + lines.value(i) + " -> " + other.value(i));
        }
    }
    return changes;
}

uint32_t littleEndian(const std::vector<uint8_t> &bytes, size_t at, int length)
{
    uint32_t value = 0;
    for (int i = length - 1; i >= 0; --i)
        value = value << 8 | bytes.at(at + size_t(i));
    return value;
}

// The demo ROM of the build and its export, in a folder of their own, read with the build's
// data files. The suite exports it once; each test starts from a copy.
class DemoFolderTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_export = new QTemporaryDir;
        const CliRun run = runTamoCli({"--home", QStringLiteral(TAMO_BUILD_DIR), "export",
                                       QStringLiteral(TAMO_BUILD_DIR "/demo.smc"), s_export->path()});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    }
    static void TearDownTestSuite() { delete s_export; }

    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        dir = fs::path(m_folder.path().toStdString());
        romPath = dir / "demo.smc";
        fs::copy_file(fs::path(TAMO_BUILD_DIR) / "demo.smc", romPath);
        original = fileBytes(romPath);
        exported = dir / "stages";
        fs::copy(suiteExport(), exported);
    }

    static fs::path suiteExport() { return fs::path(s_export->path().toStdString()); }
    CliRun cli(const QStringList &arguments) const
    {
        return runTamoCli(QStringList{"--home", QStringLiteral(TAMO_BUILD_DIR)} + arguments);
    }
    void run(const QStringList &arguments) const
    {
        const CliRun result = cli(arguments);
        ASSERT_EQ(result.exitCode, 0) << arguments.join(' ').toStdString() << ": " << result.err.constData();
    }
    void exportFolder() const { run({"export", rom(), qPath(exported)}); }
    CliRun import(const QStringList &options = {}) const { return cli(QStringList{"import"} + options + QStringList{rom(), qPath(exported)}); }
    QString rom() const { return qPath(romPath); }

    void replaceLine(const std::string &file, int line, const QByteArray &text) const
    {
        QList<QByteArray> lines = readFolder(exported).at(file);
        ASSERT_LT(line - 1, lines.size());
        if (text.isNull())
            lines.removeAt(line - 1);
        else
            lines[line - 1] = text;
        const QByteArray joined = lines.join('\n');
        tamo::fs::writeWholeFile(exported / file, std::span(reinterpret_cast<const uint8_t *>(joined.data()), size_t(joined.size())));
    }
    QByteArray line(const std::string &file, int number) const { return readFolder(exported).at(file).value(number - 1); }
    // The number of the first line that starts so.
    int lineStarting(const std::string &file, const QByteArray &start) const
    {
        const QList<QByteArray> lines = readFolder(exported).at(file);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].startsWith(start))
                return int(i + 1);
        }
        ADD_FAILURE() << file << " has no line " << start.constData();
        return 0;
    }

    // The demo ROM's places, read from its bytes at the default offset table.
    size_t spriteList(int level) const { return 0x3D0000 + littleEndian(original, 0x3D8000 + 2 * level, 2); }
    size_t cameraRecords(int level) const { return 0x3C0000 + littleEndian(original, 0x3C8000 + 2 * level, 2) + 4; }
    size_t bananaList(int level) const
    {
        return 0x38BFF9 + original.at(0x38BFF9 + original.at(0x38B335 + size_t(level)));
    }
    size_t tileMap(int tilemap) const { return littleEndian(original, 0x018B94 + 3 * tilemap, 3) - 0xC00000; }

    fs::path dir;
    fs::path romPath;
    fs::path exported;
    std::vector<uint8_t> original;

private:
    static QTemporaryDir *s_export;
    QTemporaryDir m_folder;
};

QTemporaryDir *DemoFolderTest::s_export = nullptr;

// Stage 22 of the demo shows tilemap 1 from column 0; its head and 12 settings lines come
// first, then 6 sprites, so sprite 1 is line 15 and camera 0 line 20.
constexpr int Stage22Sprite1 = 15;
constexpr int Stage22Camera0 = 20;
// A tile row's line splits at its blanks into {"row":, N, "words":, "w0, w1, ...
constexpr int WordsAfter = 3;

TEST_F(DemoFolderTest, ExportIsTheSameTwiceAndItsImportWritesNothing)
{
    const Folder first = readFolder(exported);
    EXPECT_EQ(first.size(), 230u + 6u) << "a file per stage and per tile map of mode 0";
    EXPECT_EQ(first.at("stage-022.jsonl").value(0), QByteArray("{\"stage\": 22, \"name\": \"草原ステージ3\", \"tile_map\": 1}"));
    EXPECT_TRUE(first.at("stage-012.jsonl").contains("{\"same_bananas_as\": 2}")) << "stage 12 takes stage 2's list";
    // Exported again, every file holds the same text already.
    const CliRun again = cli({"export", rom(), qPath(exported)});
    EXPECT_TRUE(again.out.contains(": 0 files written, 236 unchanged, 0 removed\n")) << again.out.constData();
    EXPECT_TRUE(changedLines(first, readFolder(exported)).isEmpty());

    const CliRun imported = import();
    ASSERT_EQ(imported.exitCode, 0) << imported.err.constData();
    EXPECT_TRUE(imported.out.contains("nothing differs")) << imported.out.constData();
    EXPECT_EQ(fileBytes(romPath), original);
}

TEST_F(DemoFolderTest, ImportPutsBackWhatSeveralEditsChanged)
{
    run({"set-tile", rom(), "22", "3", "12", "0x4005"});
    run({"set-sprite", rom(), "22", "0", "0x0002", "320", "160", "0x9101"});
    run({"set-camera", rom(), "40", "1", "512", "96"});
    run({"set-banana", rom(), "12", "0", "2", "400", "80"});
    run({"set-settings", rom(), "22", "fg=0x0002", "tilemap_end=0x1000", "music=3"});
    ASSERT_NE(fileBytes(romPath), original);
    const CliRun dryRun = import({"--dry-run"});
    ASSERT_EQ(dryRun.exitCode, 0) << dryRun.err.constData();
    EXPECT_TRUE(dryRun.out.contains("stage 22: fg: 0x0002 -> 0x0001\n"));
    EXPECT_TRUE(dryRun.out.contains("stage 2: banana 0 x: 400 -> ")) << "the list is stage 2's";
    EXPECT_TRUE(dryRun.out.contains("tile map 1: row 12 column 3: 0x4005 -> "));
    EXPECT_NE(fileBytes(romPath), original);

    const CliRun imported = import();
    ASSERT_EQ(imported.exitCode, 0) << imported.err.constData();
    EXPECT_EQ(imported.out.count('\n'), 1);
    EXPECT_EQ(fileBytes(romPath), original);
}

TEST_F(DemoFolderTest, OneEditChangesOneLineOfAFreshExport)
{
    struct Edit
    {
        QStringList command;
        QStringList lines; // what the export then differs in
    };
    const QList<Edit> edits{
        {{"set-sprite", "22", "1", "2", "320", "160", "0x9101"},
         {"stage-022.jsonl: " + line("stage-022.jsonl", Stage22Sprite1)
          + " -> {\"sprite\": 1, \"param\": \"0x0002\", \"x\": 320, \"y\": 160, \"type\": \"0x9101\"}"}},
        {{"set-camera", "22", "1", "512", "96"},
         {"stage-022.jsonl: " + line("stage-022.jsonl", Stage22Camera0 + 1) + " -> {\"camera\": 1, \"x\": 512, \"y\": 96}"}},
        // Stage 12 shares stage 2's list, which stage 2's file holds.
        {{"set-banana", "12", "1", "3", "300", "44"},
         {"stage-002.jsonl: " + line("stage-002.jsonl", lineStarting("stage-002.jsonl", "{\"banana\": 1,"))
          + " -> {\"banana\": 1, \"group\": 3, \"x\": 300, \"y\": 44}"}},
        {{"set-settings", "22", "music=0x0102"}, {"stage-022.jsonl: {\"music\": \"0x0007\"} -> {\"music\": \"0x0102\"}"}},
        // Another tile map: the head names it too.
        {{"set-settings", "22", "fg=2"},
         {"stage-022.jsonl: {\"stage\": 22, \"name\": \"草原ステージ3\", \"tile_map\": 1} -> {\"stage\": 22, \"name\": "
          "\"草原ステージ3\", \"tile_map\": 2}",
          "stage-022.jsonl: {\"fg\": \"0x0001\"} -> {\"fg\": \"0x0002\"}"}},
    };
    for (const Edit &edit : edits) {
        const Folder before = readFolder(exported);
        run(QStringList{edit.command[0], rom()} + edit.command.mid(1));
        exportFolder();
        EXPECT_EQ(changedLines(before, readFolder(exported)), edit.lines) << edit.command.join(' ').toStdString();
    }

    // A tile: one word of one row line.
    const Folder before = readFolder(exported);
    run({"set-tile", rom(), "22", "3", "12", "0x4005"});
    exportFolder();
    const QStringList changes = changedLines(before, readFolder(exported));
    ASSERT_EQ(changes.size(), 1);
    EXPECT_TRUE(changes[0].startsWith("tilemap-002.jsonl: {\"row\": 12, ")) << changes[0].toStdString();
    const QList<QByteArray> row = readFolder(exported).at("tilemap-002.jsonl").value(13).split(' ');
    EXPECT_EQ(row.value(WordsAfter + 3), "4005");
}

TEST_F(DemoFolderTest, HandWrittenLinesWriteTheirBytes)
{
    replaceLine("stage-022.jsonl", Stage22Sprite1, R"({"type": "$9201", "y": "0x56", "x": 4660, "param": "3", "sprite": 1})");
    replaceLine("stage-022.jsonl", 5, R"({"func": "0x00C0A1B2"})");
    replaceLine("stage-022.jsonl", 9, R"({"darkness_bits": 165})");
    replaceLine("stage-002.jsonl", lineStarting("stage-002.jsonl", "{\"banana\": 1,"), R"({"banana": 1, "group": 7, "x": 513, "y": 9})");
    QList<QByteArray> words = line("tilemap-001.jsonl", 7).split(' ');
    words[WordsAfter + 3] = "c123";
    replaceLine("tilemap-001.jsonl", 7, words.join(' '));

    std::map<size_t, uint8_t> expected;
    const auto expect = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        for (uint8_t byte : bytes)
            expected[at++] = byte;
    };
    expect(spriteList(22) + 8, {0x03, 0x00, 0x34, 0x12, 0x56, 0x00, 0x01, 0x92});
    expect(0x00C589 + 4 * 22, {0xB2, 0xA1, 0xC0, 0x00});
    expect(0x39D839 + 4 * 22, {0xA5});
    expect(bananaList(2) + 4, {0x07, 0x09, 0x01, 0x02}); // Y before X
    expect(tileMap(1) + 2 * (3 * 16 + 5), {0x23, 0xC1});

    const CliRun imported = import();
    ASSERT_EQ(imported.exitCode, 0) << imported.err.constData();
    const std::vector<uint8_t> after = fileBytes(romPath);
    ASSERT_EQ(after.size(), original.size());
    std::map<size_t, uint8_t> changed;
    for (size_t i = 0; i < after.size(); ++i) {
        if (after[i] != original[i])
            changed[i] = after[i];
    }
    for (const auto &[at, byte] : expected) {
        if (original[at] == byte)
            changed[at] = byte; // the same byte as before: not a change, but what was asked
    }
    EXPECT_EQ(changed, expected);
}

TEST_F(DemoFolderTest, RefusedFilesNameTheirLineAndLeaveTheRom)
{
    struct Refusal
    {
        std::string file;
        int line;
        QByteArray text; // null: the line removed
        QByteArray error;
    };
    const int sprite5 = Stage22Sprite1 + 4;
    QByteArray shortRow = line("tilemap-001.jsonl", 2);
    shortRow.remove(shortRow.lastIndexOf(' '), 5);
    const QList<Refusal> refusals{
        {"stage-022.jsonl", 4, R"({"music": "0x0007")", "stage-022.jsonl line 4: expected one JSON object"},
        {"stage-022.jsonl", 4, R"({"music": 70000})", "stage-022.jsonl line 4: expected music from 0 to 0xFFFF"},
        {"stage-022.jsonl", 4, R"({"bg": 3})", "stage-022.jsonl line 4: expected a line with the keys \"music\""},
        {"stage-022.jsonl", sprite5, QByteArray(), "line 19: expected sprite 5: stage 22's sprite list holds 6"},
        {"stage-022.jsonl", sprite5, line("stage-022.jsonl", sprite5) + "\n{\"sprite\": 6, \"param\": 1, \"x\": 0, \"y\": 0, \"type\": 0}",
         "line 20: expected no more sprite records"},
        {"stage-022.jsonl", Stage22Sprite1, R"({"sprite": 2, "param": 1, "x": 0, "y": 0, "type": 0})", "line 15: expected sprite 1;"},
        {"stage-022.jsonl", Stage22Camera0 + 1, R"({"camera": 1, "x": 65535, "y": 64})", "line 21: expected camera 1 x other than 65535"},
        {"stage-022.jsonl", Stage22Sprite1, R"({"sprite": 1, "param": 0, "x": 0, "y": 0, "type": 0})",
         "line 15: expected sprite 1 param other than 0x0000"},
        {"stage-012.jsonl", lineStarting("stage-012.jsonl", "{\"same_bananas_as\""), R"({"banana": 0, "group": 1, "x": 0, "y": 0})",
         "expected {\"same_bananas_as\": 2}"},
        {"tilemap-001.jsonl", 2, shortRow, "tilemap-001.jsonl line 2: expected {\"row\": 0, \"words\": \"...\"} with 255 tile words"},
        {"tilemap-001.jsonl", 17, QByteArray(), "tilemap-001.jsonl at its end: expected a line with the keys \"row\""},
        // The tile map then reaches 8 columns past its last column 254.
        {"stage-022.jsonl", 13, R"({"tilemap_end": 8000})", "tilemap-001.jsonl line 1: expected {\"tile_map\": 1, \"columns\": 258"},
    };
    for (const Refusal &refusal : refusals) {
        replaceLine(refusal.file, refusal.line, refusal.text);
        const CliRun imported = import();
        EXPECT_EQ(imported.exitCode, 1) << refusal.error.constData();
        EXPECT_TRUE(imported.oneErrorLine());
        EXPECT_TRUE(imported.err.contains(refusal.error)) << imported.err.constData();
        EXPECT_EQ(fileBytes(romPath), original) << refusal.error.constData();
        fs::copy_file(suiteExport() / refusal.file, exported / refusal.file, fs::copy_options::overwrite_existing);
    }

    // Files the export does not write, or all of them.
    fs::copy_file(exported / "tilemap-001.jsonl", exported / "tilemap-099.jsonl");
    EXPECT_TRUE(import().err.contains("tilemap-099.jsonl: no stage or tile map"));
    exportFolder();
    EXPECT_FALSE(fs::exists(exported / "tilemap-099.jsonl")) << "export removes it";
    fs::remove(exported / "stage-229.jsonl");
    EXPECT_TRUE(import().err.contains("stage-229.jsonl"));
    EXPECT_EQ(fileBytes(romPath), original);
}

using SmallRomFolderTest = SmallRomTest;

TEST_F(SmallRomFolderTest, ExportKeepsShiftJisNamesAsUtf8AndWritesRowsOfHexWords)
{
    std::ofstream(home / "Data" / "offsets.ini", std::ios::app) << "[Level name]\n01=\x90\x58\x82\xCC\x93\xB9\n";
    const CliRun run = cli({"export", rom(), qPath(home / "out")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const Folder folder = readFolder(home / "out");
    const QList<QByteArray> &stage = folder.at("stage-001.jsonl");
    EXPECT_EQ(stage.value(0), QByteArray("{\"stage\": 1, \"name\": \"森の道\", \"tile_map\": 12}"));
    EXPECT_EQ(stage.value(13), QByteArray(R"({"sprite": 0, "param": "0x0001", "x": 80, "y": 16, "type": "0x9055"})"));
    EXPECT_EQ(stage.value(16), QByteArray(R"({"camera": 0, "x": 64, "y": 96})"));
    EXPECT_EQ(stage.value(18), QByteArray(R"({"banana": 0, "group": 2, "x": 4660, "y": 200})"));
    // Columns 0 to 17: the stage shows 16 from column 2.
    const QList<QByteArray> &tiles = folder.at("tilemap-012.jsonl");
    ASSERT_EQ(tiles.size(), 1 + 16 + 1);
    EXPECT_EQ(tiles[0], QByteArray(R"({"tile_map": 12, "columns": 18, "rows": 16})"));
    QByteArray row3 = R"({"row": 3, "words": ")";
    for (int column = 0; column < 18; ++column)
        row3 += QByteArray::number(tileWord(column, 3), 16).rightJustified(4, '0').toUpper() + (column < 17 ? " " : "");
    EXPECT_EQ(tiles[4], row3 + "\"}");
    EXPECT_FALSE(folder.at("stage-002.jsonl").value(0).contains("tile_map")) << "screen mode 1";
}

} // namespace
