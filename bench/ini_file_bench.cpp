#include "bench/memcpy_bound.h"
#include "core/file_system.h"
#include "core/ini_file.h"
#include "core/integer_syntax.h"
#include "core/sprite_types.h"
#include "files/file_names.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace tamo::bench {

namespace {

constexpr int KindCount = 1'000'000;

// A Data\sprite.ini of KindCount named kinds spread evenly over the given sections.
class SpriteIniFile
{
public:
    explicit SpriteIniFile(int sections)
    {
        std::string text;
        const int kindsPerSection = KindCount / sections;
        for (int section = 0; section < sections; ++section) {
            text += "[0x" + hexText(uint32_t(section + 1), 4) + "]\n";
            for (int kind = 0; kind < kindsPerSection; ++kind)
                text += "0x" + hexText(uint32_t(kind), 4) + "=kind " + std::to_string(section * kindsPerSection + kind) + "\n";
        }
        path = filePath(m_dir.path()) / "sprite.ini";
        fs::writeWholeFile(path, std::span(reinterpret_cast<const uint8_t *>(text.data()), text.size()));
        bytes = text.size();
    }

    // Thread time of reading the file's bytes whole, the best of several rounds.
    double readMicroseconds() const
    {
        double best = 1e300;
        for (int round = 0; round < 5; ++round) {
            const double start = threadMicroseconds();
            benchmark::DoNotOptimize(fs::readWholeFile(path).data());
            best = std::min(best, threadMicroseconds() - start);
        }
        return best;
    }

    std::filesystem::path path;
    size_t bytes = 0;

private:
    QTemporaryDir m_dir;
};

// What start-up does with the file: read and index it, then build the sprite kind list.
// Beside the memcpy bound stands the time to read the same bytes ("read_us", "x_read").
void loadSpriteKinds(benchmark::State &state, int sections)
{
    const SpriteIniFile file(sections);
    size_t kinds = 0;
    BoundedTimer timer(state);
    for (auto _ : state) {
        const IniFile ini = IniFile::load(file.path);
        kinds = LoadSpriteTypes(ini).size();
    }
    timer.report(file.bytes);
    const double read = file.readMicroseconds();
    state.counters["read_us"] = read;
    state.counters["x_read"] = state.counters["us"] / read;
    state.counters["kinds"] = double(kinds);
    state.counters["MB"] = double(file.bytes) / 1e6;
}

void BM_SpriteKindsOneSection(benchmark::State &state)
{
    loadSpriteKinds(state, 1);
}
BENCHMARK(BM_SpriteKindsOneSection)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SpriteKinds1000Sections(benchmark::State &state)
{
    loadSpriteKinds(state, 1000);
}
BENCHMARK(BM_SpriteKinds1000Sections)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

} // namespace tamo::bench
