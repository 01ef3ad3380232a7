#include "bench/memcpy_bound.h"
#include "cli/stage_export.h"
#include "cli/stage_import.h"
#include "core/file_system.h"
#include "core/ini_file.h"
#include "core/offset_table.h"
#include "core/rom_image.h"
#include "core/stage.h"
#include "files/file_names.h"
#include "files/program_folder.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>

namespace tamo::bench {

namespace {

// The demo ROM and data files the build wrote beside its programs.
struct DemoRom
{
    std::filesystem::path home = TAMO_BUILD_DIR;
    IniFile offsetsIni = IniFile::load(ProgramFolder(home).offsetsIni());
    OffsetTable offsets = LoadOffsetTable(offsetsIni);
    RomImage rom = RomImage::open(home / "demo.smc");

    StageSource source() const { return {rom, offsets, offsetsIni}; }

    // Thread time of reading the ROM file's bytes whole, the best of several rounds.
    double readMicroseconds() const
    {
        double best = 1e300;
        for (int round = 0; round < 5; ++round) {
            const double start = threadMicroseconds();
            benchmark::DoNotOptimize(fs::readWholeFile(home / "demo.smc").data());
            best = std::min(best, threadMicroseconds() - start);
        }
        return best;
    }
};

// The demo ROM with its export in a folder of its own.
struct ExportedDemoRom : DemoRom
{
    ExportedDemoRom() { cli::writeStageFolder(folder, cli::stageFolder(source()).texts); }

    QTemporaryDir dir;
    std::filesystem::path folder = filePath(dir.path());
};

// Beside the memcpy of the ROM's bytes stands the time to read them from the file.
void reportBounds(benchmark::State &state, BoundedTimer &timer, const DemoRom &demo)
{
    timer.report(size_t(demo.rom.size()));
    const double read = demo.readMicroseconds();
    state.counters["read_us"] = read;
    state.counters["x_read"] = state.counters["us"] / read;
}

// The stage files of every stage and tile map written into an empty folder, each file
// replaced whole, all of them flushed to the disk at the end. Besides the thread time, the
// wall time, which the wait for the disk adds to.
void BM_ExportDemoRom(benchmark::State &state)
{
    const DemoRom demo;
    QTemporaryDir dir;
    size_t files = 0;
    int round = 0;
    double wall = 0;
    BoundedTimer timer(state);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const cli::StageFolder folder = cli::stageFolder(demo.source());
        files = size_t(cli::writeStageFolder(filePath(dir.path()) / std::to_string(round++), folder.texts).written);
        wall += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    }
    reportBounds(state, timer, demo);
    state.counters["wall_us"] = wall / double(state.iterations());
    state.counters["files"] = double(files);
}
BENCHMARK(BM_ExportDemoRom)->Unit(benchmark::kMillisecond)->Iterations(5);

// The export again into the folder that holds it, as after a commit: every file is read
// and found to hold its text already, so none is written.
void BM_ExportDemoRomOverItself(benchmark::State &state)
{
    const ExportedDemoRom demo;
    int unchanged = 0;
    BoundedTimer timer(state);
    for (auto _ : state)
        unchanged = cli::writeStageFolder(demo.folder, cli::stageFolder(demo.source()).texts).unchanged;
    reportBounds(state, timer, demo);
    state.counters["files"] = unchanged;
}
BENCHMARK(BM_ExportDemoRomOverItself)->Unit(benchmark::kMillisecond);

// The texts alone, in memory.
void BM_ExportDemoRomTexts(benchmark::State &state)
{
    const DemoRom demo;
    size_t bytes = 0;
    BoundedTimer timer(state);
    for (auto _ : state) {
        bytes = 0;
        for (const auto &[name, text] : cli::stageFolder(demo.source()).texts)
            bytes += size_t(text.size());
    }
    reportBounds(state, timer, demo);
    state.counters["text_MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_ExportDemoRomTexts)->Unit(benchmark::kMillisecond);

// The whole export read back against the ROM it came from: every file, every line, every
// value compared, the image with all of them made; nothing differs, so nothing is saved.
void BM_ImportDemoRom(benchmark::State &state)
{
    const ExportedDemoRom demo;
    size_t changes = 0;
    BoundedTimer timer(state);
    for (auto _ : state)
        changes += cli::importStages(demo.source(), demo.folder).changes.size();
    reportBounds(state, timer, demo);
    if (changes != 0)
        state.SkipWithError("the import of the ROM's own export changed values");
}
BENCHMARK(BM_ImportDemoRom)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace tamo::bench
