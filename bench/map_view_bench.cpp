#include "bench/bench_fixture.h"
#include "bench/memcpy_bound.h"
#include "qtcommon/qt_canvas.h"
#include "qtcommon/zoomed_picture.h"
#include "view/map_editor.h"
#include "view/map_pen.h"
#include "view/map_zoom.h"
#include "view/stage_renderer.h"
#include "view/tile_block.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace tamo::bench {

namespace {

constexpr int32_t Widest = 0xFFFF; // TilemapEnd of the 2,055-column stage
constexpr size_t BytesPerPixel = 4;
constexpr QSize Viewport(1600, 1000);
constexpr const char *ZoomSettings[] = {"1/8", "1/4", "1/2", "1", "2", "3", "4"};

size_t bitmapBytes(const QtCanvas &canvas)
{
    return size_t(canvas.width()) * size_t(canvas.height()) * BytesPerPixel;
}

// A repaint of the whole 1600 x 1000 view of the widest stage at a zoom, scrolled to the
// middle of the image, with the reduced copies already made; with the grid and the screen
// lines over it for the second argument 1. At 1/8 the image (8,220 x 64) fills only a
// strip of the view, the rest is the background.
void BM_RepaintViewport(benchmark::State &state)
{
    const MapZoom zoom = MapZoom::FromSetting(ZoomSettings[state.range(0)]);
    const bool lines = state.range(1) != 0;
    BenchStage bench(Widest);
    const Stage stage = bench.decode();
    QtCanvas canvas;
    ZoomedPicture picture(canvas);
    canvas.resize(stage.MapWidth * CellPixels, stage.MapHeight * CellPixels);
    RedrawStage(bench.scene(stage, canvas));
    picture.reducedCopies();
    const QSize image(zoom.toView(canvas.width()), zoom.toView(canvas.height()));
    const QRect view(QPoint(std::max(0, image.width() / 2 - Viewport.width() / 2),
                            std::max(0, image.height() / 2 - Viewport.height() / 2)),
                     Viewport);
    QImage screen(Viewport, QImage::Format_RGB32);
    BoundedTimer timer(state);
    for (auto _ : state) {
        QPainter painter(&screen);
        painter.translate(-view.topLeft());
        picture.paint(painter, zoom, view, {lines, lines});
        painter.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
    timer.report(size_t(Viewport.width()) * Viewport.height() * BytesPerPixel);
    state.SetLabel(std::string(ZoomSettings[state.range(0)]) + (lines ? " with lines" : ""));
}
BENCHMARK(BM_RepaintViewport)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// The reduced copies of the widest stage made anew in the memory they had, as the first
// paint below 1 after a stage load or a zoom from 1 makes them: most cells take the
// reduced cells of their chips, the cells under the marks are reduced from the bitmap. Beside the memcpy of the bitmap, the full
// RedrawStage of the same stage timed in the same run ("redraw_us", "x_redraw"), and the
// copies' share of the bitmap's memory.
void BM_BuildReducedCopies(benchmark::State &state)
{
    BenchStage bench(Widest);
    const Stage stage = bench.decode();
    QtCanvas canvas;
    ZoomedPicture picture(canvas);
    canvas.resize(stage.MapWidth * CellPixels, stage.MapHeight * CellPixels);
    const StageScene scene = bench.scene(stage, canvas);
    RedrawStage(scene);
    double redraw = 0;
    constexpr int Redraws = 5;
    for (int round = 0; round < Redraws; ++round) {
        const double start = threadMicroseconds();
        RedrawStage(scene);
        redraw += threadMicroseconds() - start;
    }
    redraw /= Redraws;

    BoundedTimer timer(state);
    for (auto _ : state) {
        picture.pauseReducedCopies();
        benchmark::DoNotOptimize(picture.reducedCopies().copy(3).pixels.data());
    }
    timer.report(bitmapBytes(canvas));
    state.counters["redraw_us"] = redraw;
    state.counters["x_redraw"] = state.counters["us"] / redraw;
    state.counters["copies_share"] = double(picture.reducedCopies().bytes()) / double(bitmapBytes(canvas));
}
BENCHMARK(BM_BuildReducedCopies)->Unit(benchmark::kMillisecond);

// The widest stage opened in a document, drawn, and its reduced copies made and kept up
// to date by every drawing, as the stage view below 1 has them.
struct ZoomedStage
{
    ZoomedStage()
        : picture(edited.canvas)
    {
        picture.reducedCopies();
    }

    EditedStage edited{Widest};
    ZoomedPicture picture;
};

// One click that paints, as BM_PutChip, on the widest stage with its reduced copies
// updated by the redraw of the cell.
void BM_PutChipWithReducedCopies(benchmark::State &state)
{
    ZoomedStage zoomed;
    TimePuts(state, zoomed.edited);
}
BENCHMARK(BM_PutChipWithReducedCopies);

// A pasted block of 64 x 16 cells placed by a click: one step through the document, its
// 1,024 cells drawn again and their reduced copies updated. Two blocks take turns so that
// every paste changes its cells.
void BM_Paste64x16(benchmark::State &state)
{
    ZoomedStage zoomed;
    const Stage &stage = zoomed.edited.stage;
    Pen pen;
    MapTools tools;
    DocumentHost host(zoomed.edited.document);
    TileTools tiles(zoomed.edited.scene, pen, tools, host);
    TileBlock blocks[2] = {{64, 16, std::vector<uint16_t>(64 * 16)}, {64, 16, std::vector<uint16_t>(64 * 16)}};
    for (size_t i = 0; i < blocks[0].words.size(); ++i) {
        blocks[0].words[i] = uint16_t(i & 0xFF);
        blocks[1].words[i] = uint16_t(0x4000 | ((i + 7) & 0xFF));
    }
    int64_t pastes = 0;
    BoundedTimer timer(state);
    for (auto _ : state) {
        const int32_t column = int32_t((pastes * 97) % (stage.MapWidth - 64));
        tiles.paste(blocks[pastes % 2], {column, 0});
        tiles.placeFloating({column, 0});
        if (++pastes % 256 == 0)
            zoomed.edited.document.history()->clear();
    }
    timer.report(size_t(64 * 16) * CellPixels * CellPixels * BytesPerPixel);
}
BENCHMARK(BM_Paste64x16)->Unit(benchmark::kMicrosecond);

} // namespace

} // namespace tamo::bench
