#include "bench/bench_fixture.h"
#include "bench/memcpy_bound.h"
#include "document/paint_stroke.h"
#include "document/rom_document.h"
#include "files/file_names.h"

#include <benchmark/benchmark.h>


namespace tamo::bench {

namespace {

constexpr int StrokeCells = 2000;
constexpr size_t CellBytes = size_t(CellPixels) * CellPixels * 4;

// Undo and redo of one 2,000-cell paint stroke on the widest stage, each followed by the
// redraw of the cells it changed, as the stage view does on the document's change.
void BM_UndoRedoStroke2000Cells(benchmark::State &state)
{
    EditedStage edited(0xFFFF);
    RomDocument &document = edited.document;
    const Stage &stage = edited.stage;

    PaintStroke stroke;
    stroke.begin(document.newMergeKey());
    for (int cell = 0; cell < StrokeCells; ++cell) {
        const uint16_t word = uint16_t(0x4000 | ((cell * 7) & 0xFF));
        const RomPatch patch = TileCellPatch(stage, cell / stage.MapHeight, cell % stage.MapHeight, word);
        document.edit(stroke.edit(patch, BenchStage::Level, document.image()));
    }
    if (document.history()->count() != 1)
        state.SkipWithError("the stroke did not make one step");

    BoundedTimer timer(state);
    for (auto _ : state) {
        document.history()->undo();
        document.history()->redo();
        benchmark::DoNotOptimize(edited.canvas.bitmap().constBits());
    }
    // Each round draws the stroke's cells twice.
    timer.report(2 * StrokeCells * CellBytes);
    state.counters["cells"] = StrokeCells;
}
BENCHMARK(BM_UndoRedoStroke2000Cells)->Unit(benchmark::kMillisecond);

constexpr int LongStrokePuts = 10000;

// One paint stroke of 10,000 puts on the widest stage (cells painted again once the stage's
// cells run out), each put drawn, and its undo: the step grows by every put.
void BM_Stroke10000PutsAndUndo(benchmark::State &state)
{
    EditedStage edited(0xFFFF);
    RomDocument &document = edited.document;
    const Stage &stage = edited.stage;
    const int cells = stage.MapWidth * stage.MapHeight;

    PaintStroke stroke;
    int round = 0;
    BoundedTimer timer(state);
    for (auto _ : state) {
        stroke.begin(document.newMergeKey());
        ++round;
        for (int put = 0; put < LongStrokePuts; ++put) {
            const int cell = put % cells;
            const auto word = uint16_t(0x4000 | ((put / cells + round) & 0xFF));
            const RomPatch patch = TileCellPatch(stage, cell / stage.MapHeight, cell % stage.MapHeight, word);
            document.edit(stroke.edit(patch, BenchStage::Level, document.image()));
        }
        document.history()->undo();
        benchmark::DoNotOptimize(edited.canvas.bitmap().constBits());
    }
    // Each round draws every put's cell, and the stroke's cells again on undo.
    timer.report(2 * LongStrokePuts * CellBytes);
    state.counters["puts"] = LongStrokePuts;
}
BENCHMARK(BM_Stroke10000PutsAndUndo)->Unit(benchmark::kMillisecond);

// The whole 4 MiB image replaced by one that differs in every byte (a restore point, a
// reload from disk) as one step, and that step undone; no view follows.
void BM_ReplaceWholeImageAndUndo(benchmark::State &state)
{
    const EditedStage edited(0x0E00);
    RomDocument document;
    document.open(fileNameText(edited.bench.programDir() / "bench.smc"));
    std::vector<uint8_t> other = document.image().bytes();
    for (uint8_t &byte : other)
        byte ^= 0xFF;

    BoundedTimer timer(state);
    for (auto _ : state) {
        document.replaceImage(other, QStringLiteral("Restore"), BenchStage::Level);
        document.history()->undo();
    }
    // Each round writes the image twice.
    timer.report(2 * other.size());
    state.counters["bytes"] = double(other.size());
}
BENCHMARK(BM_ReplaceWholeImageAndUndo)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace tamo::bench
