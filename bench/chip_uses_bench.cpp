#include "bench/bench_fixture.h"
#include "bench/memcpy_bound.h"
#include "cli/demo_themes.h"
#include "core/chip_replacement.h"
#include "core/chip_uses.h"
#include "core/tile_map_words.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace tamo::bench {

namespace {

// The demo set the build puts beside the programs.
struct DemoRom
{
    IniFile offsetsIni = IniFile::load(std::filesystem::path(TAMO_BUILD_DIR) / "Data" / "offsets.ini");
    OffsetTable offsets = LoadOffsetTable(offsetsIni);
    RomImage rom = RomImage::open(std::filesystem::path(TAMO_BUILD_DIR) / "demo.smc");

    StageSource source() const { return {rom, offsets, offsetsIni}; }
};

size_t byteCount(const std::vector<ByteRun> &runs)
{
    size_t bytes = 0;
    for (const ByteRun &run : runs)
        bytes += size_t(run.end - run.begin);
    return bytes;
}

// All 230 stages of the demo ROM read for one chip, as the list of the stages that use it
// is made: the stages decoded, each tile map's words read once. Beside the memcpy of the
// tile map bytes the stages show.
void BM_FindChipUses(benchmark::State &state)
{
    const DemoRom demo;
    const auto chip = int32_t(state.range(0));
    size_t stages = 0;
    size_t cells = 0;
    BoundedTimer timer(state);
    for (auto _ : state) {
        const std::vector<StageChipUses> uses = FindChipUses(demo.source(), chip);
        stages = uses.size();
        cells = 0;
        for (const StageChipUses &stage : uses)
            cells += stage.cells.size();
        benchmark::DoNotOptimize(uses.data());
    }
    const size_t tileMapBytes = byteCount(AllTileMapWords(demo.source()));
    timer.report(tileMapBytes);
    state.counters["stages"] = double(stages);
    state.counters["cells"] = double(cells);
    state.counters["tile_map_bytes"] = double(tileMapBytes);
}
BENCHMARK(BM_FindChipUses)
    ->Arg(cli::ChipBrickWindow)
    ->Arg(cli::ChipGround)
    ->Unit(benchmark::kMicrosecond);

// The cells of the widest stage (2,055 columns) that hold a chip, as the stage shown counts
// them after every edit.
void BM_ChipCellsOfWidestStage(benchmark::State &state)
{
    const BenchStage bench(0xFFFF, 0, 0);
    const Stage stage = bench.decode();
    size_t cells = 0;
    BoundedTimer timer(state);
    for (auto _ : state) {
        const std::vector<CellPosition> found = ChipCellsOfStage(bench.rom, stage, 0x45);
        cells = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    timer.report(size_t(stage.MapWidth) * stage.MapHeight * 2);
    state.counters["cells"] = double(cells);
}
BENCHMARK(BM_ChipCellsOfWidestStage)->Unit(benchmark::kMicrosecond);

// The patch that replaces a common chip in every tile map of the demo ROM.
void BM_ReplaceChipEverywhere(benchmark::State &state)
{
    const DemoRom demo;
    const ChipReplacement replacement{cli::ChipGround, cli::ChipRock, true};
    int64_t cells = 0;
    BoundedTimer timer(state);
    for (auto _ : state) {
        const ChipReplaceEdit edit = ReplaceChipEdit(demo.rom, AllTileMapWords(demo.source()), replacement);
        cells = edit.cells;
        benchmark::DoNotOptimize(edit.patch.writes().data());
    }
    timer.report(byteCount(AllTileMapWords(demo.source())));
    state.counters["cells"] = double(cells);
}
BENCHMARK(BM_ReplaceChipEverywhere)->Unit(benchmark::kMicrosecond);

} // namespace

} // namespace tamo::bench
