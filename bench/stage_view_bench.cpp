#include "bench/bench_fixture.h"
#include "files/program_folder.h"
#include "bench/memcpy_bound.h"
#include "qtcommon/qt_canvas.h"
#include "view/chip_palette.h"
#include "view/map_pen.h"
#include "view/stage_pictures.h"
#include "view/stage_renderer.h"

#include <benchmark/benchmark.h>

namespace tamo::bench {

namespace {

constexpr size_t BytesPerPixel = 4;

size_t imageBytes(const Stage &stage)
{
    return size_t(stage.MapWidth) * CellPixels * stage.MapHeight * CellPixels * BytesPerPixel;
}

// RedrawStage over the stage image's retained bitmap, as every redraw after the first.
void redrawStage(benchmark::State &state, int32_t tilemapEnd, MarkSwitches switches)
{
    BenchStage bench(tilemapEnd);
    const Stage stage = bench.decode();
    QtCanvas canvas;
    canvas.resize(stage.MapWidth * CellPixels, stage.MapHeight * CellPixels);
    const StageScene scene = bench.scene(stage, canvas, switches);
    RedrawStage(scene); // the stage load's own redraw makes the bitmap
    BoundedTimer timer(state);
    for (auto _ : state) {
        RedrawStage(scene);
        benchmark::DoNotOptimize(canvas.bitmap().constBits());
    }
    timer.report(imageBytes(stage));
    state.counters["cells"] = double(stage.MapWidth) * stage.MapHeight;
    state.counters["bitmaps_made"] = canvas.bitmapsMade();
}

void BM_RedrawStage120AllMarks(benchmark::State &state)
{
    redrawStage(state, 0x0E00, MarkSwitches{});
}
BENCHMARK(BM_RedrawStage120AllMarks)->Unit(benchmark::kMicrosecond);

void BM_RedrawStage120TilesOnly(benchmark::State &state)
{
    redrawStage(state, 0x0E00, MarkSwitches{false, false, false});
}
BENCHMARK(BM_RedrawStage120TilesOnly)->Unit(benchmark::kMicrosecond);

void BM_RedrawStageWidest(benchmark::State &state)
{
    redrawStage(state, 0xFFFF, MarkSwitches{});
}
BENCHMARK(BM_RedrawStageWidest)->Unit(benchmark::kMillisecond);

// One click that paints, on the 120-cell stage.
void BM_PutChip(benchmark::State &state)
{
    EditedStage edited(0x0E00);
    TimePuts(state, edited);
}
BENCHMARK(BM_PutChip);

// The whole palette from a fresh bitmap, as every pick, flip and click draws it.
void BM_DrawChipPalette(benchmark::State &state)
{
    BenchStage bench(0x0E00, 0, 0);
    QtCanvas palette;
    const Pen pen{0x45, true, false, false, {}};
    BoundedTimer timer(state);
    for (auto _ : state) {
        DrawChipPalette(true, bench.chipPicture.get(), pen, palette);
        benchmark::DoNotOptimize(palette.bitmap().constBits());
    }
    timer.report(size_t(PaletteWidth) * bench.chipPicture->height() * BytesPerPixel);
}
BENCHMARK(BM_DrawChipPalette)->Unit(benchmark::kMicrosecond);

// A whole stage load as the editor runs it: decode, the chip bitmap from its 24-bit BMP
// file, the stage image made and drawn, and the chip palette.
void BM_StageLoad(benchmark::State &state)
{
    BenchStage bench(0x0E00);
    const QtPictureLoader loader;
    QtCanvas canvas;
    QtCanvas palette;
    Pen pen;
    size_t bytes = 0;
    BoundedTimer timer(state);
    for (auto _ : state) {
        const Stage stage = bench.decode();
        LoadPicture(loader, ProgramFolder(bench.programDir()).chipBitmap(stage.FGTilemap), bench.chipPicture);
        ResetPen(pen);
        canvas.resize(stage.MapWidth * CellPixels, stage.MapHeight * CellPixels);
        canvas.clear();
        RedrawStage(bench.scene(stage, canvas));
        DrawChipPalette(true, bench.chipPicture.get(), pen, palette);
        bytes = imageBytes(stage) + size_t(PaletteWidth) * bench.chipPicture->height() * BytesPerPixel;
    }
    timer.report(bytes);
    state.counters["bitmaps_per_load"] = double(canvas.bitmapsMade()) / double(state.iterations());
}
BENCHMARK(BM_StageLoad)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace tamo::bench
