#include "bench/bench_fixture.h"
#include "bench/memcpy_bound.h"
#include "document/paint_stroke.h"
#include "document/rom_document.h"

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

} // namespace

} // namespace tamo::bench
