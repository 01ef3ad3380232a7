#include "bench/bench_fixture.h"
#include "bench/memcpy_bound.h"
#include "qtcommon/overview_picture.h"
#include "qtcommon/qt_canvas.h"
#include "qtcommon/zoomed_picture.h"
#include "view/stage_renderer.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace tamo::bench {

namespace {

constexpr int32_t Widest = 0xFFFF; // TilemapEnd of the 2,055-column stage
constexpr size_t BytesPerPixel = 4;
// Window sizes: the default one, and one as wide as a large screen.
constexpr QSize Rooms[] = {{800, 120}, {1600, 300}};

// The widest stage drawn, its overview made for the room.
struct OverviewOfWidest
{
    explicit OverviewOfWidest(QSize room)
        : room(room)
    {
        canvas.resize(stage.MapWidth * CellPixels, stage.MapHeight * CellPixels);
        RedrawStage(bench.scene(stage, canvas));
        overview.make(picture, room);
    }

    BenchStage bench{Widest};
    Stage stage = bench.decode();
    QtCanvas canvas;
    ZoomedPicture picture{canvas};
    QSize room;
    OverviewPicture overview;
};

// A repaint of the whole overview window, as its paint event makes it: the picture, the
// background below it and the frame of the part in view. Beside the memcpy of the
// window's pixels.
void BM_RepaintOverview(benchmark::State &state)
{
    OverviewOfWidest widest(Rooms[state.range(0)]);
    const QRect shown(widest.canvas.width() / 2, 0, 1600, widest.canvas.height());
    QImage window(widest.room, QImage::Format_RGB32);
    BoundedTimer timer(state);
    for (auto _ : state) {
        QPainter painter(&window);
        widest.overview.paint(painter, window.rect(), shown);
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
    timer.report(size_t(window.width()) * size_t(window.height()) * BytesPerPixel);
    state.SetLabel(std::to_string(widest.room.width()) + " x " + std::to_string(widest.room.height()) + ", picture "
                   + std::to_string(widest.overview.image().width()) + " x "
                   + std::to_string(widest.overview.image().height()));
}
BENCHMARK(BM_RepaintOverview)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The overview made again after a change of the stage picture, from the reduced copies
// the map view keeps up to date. Beside the memcpy of the stage bitmap.
void BM_MakeOverview(benchmark::State &state)
{
    OverviewOfWidest widest(Rooms[state.range(0)]);
    BoundedTimer timer(state);
    for (auto _ : state) {
        widest.overview.make(widest.picture, widest.room);
        benchmark::DoNotOptimize(widest.overview.image().constBits());
    }
    timer.report(size_t(widest.canvas.width()) * size_t(widest.canvas.height()) * BytesPerPixel);
}
BENCHMARK(BM_MakeOverview)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

} // namespace tamo::bench
