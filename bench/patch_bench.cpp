// Making BPS and IPS patches of a 4 MiB ROM against itself edited three ways: 2,000
// scattered tile words, a 64 x 16 block of one stage moved 40 columns, one stage's whole
// tile map rewritten. Beside the time: the memcpy of the image, the patch's size, the
// bytes changed and, where xdelta3 is installed, the size of `xdelta3 -e -9` for the pair.
#include "bench/memcpy_bound.h"
#include "core/patch_file.h"
#include "core/rom_difference.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <unistd.h>

namespace tamo::bench {

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t RomBytes = size_t(4) << 20;
// Tile maps fill 512 KiB from 1 MiB on; the ROM ends in 256 KiB of 0xFF padding.
constexpr size_t TileMapsAt = 0x100000;
constexpr size_t TileMapsBytes = 0x80000;
constexpr size_t PaddingBytes = 0x40000;
// The stage: 120 columns of 16 tile words.
constexpr size_t StageMapAt = 0x120000;
constexpr int StageColumns = 120;
constexpr int StageRows = 16;

// Maps are drawn from a few chips, with flips, as real ones are.
uint16_t tileWord(std::mt19937 &random)
{
    return uint16_t((random() % 96) | (random() % 4) << 14);
}

void putWord(Bytes &rom, size_t at, uint16_t word)
{
    rom[at] = uint8_t(word);
    rom[at + 1] = uint8_t(word >> 8);
}

size_t cellAt(int column, int row)
{
    return StageMapAt + 2 * (size_t(column) * StageRows + size_t(row));
}

const Bytes &baseRom()
{
    static const Bytes rom = [] {
        std::mt19937 random(18);
        Bytes bytes(RomBytes);
        for (uint8_t &byte : bytes)
            byte = uint8_t(random());
        for (size_t at = TileMapsAt; at < TileMapsAt + TileMapsBytes; at += 2)
            putWord(bytes, at, tileWord(random));
        std::fill(bytes.end() - PaddingBytes, bytes.end(), uint8_t(0xFF));
        return bytes;
    }();
    return rom;
}

Bytes scatteredWords()
{
    std::mt19937 random(1);
    Bytes rom = baseRom();
    std::vector<bool> changed(TileMapsBytes / 2);
    for (int count = 0; count < 2000;) {
        const size_t word = random() % changed.size();
        if (changed[word])
            continue;
        changed[word] = true;
        ++count;
        const size_t at = TileMapsAt + 2 * word;
        putWord(rom, at, uint16_t((rom[at] ^ 0x5A) | (rom[at + 1] ^ 0x40) << 8));
    }
    return rom;
}

// Columns 8..71 moved to 48..111; the cells they leave become chip 0, as a cut leaves them.
Bytes movedBlock()
{
    Bytes rom = baseRom();
    const Bytes &base = baseRom();
    for (int column = 0; column < 64; ++column) {
        for (int row = 0; row < StageRows; ++row) {
            putWord(rom, cellAt(column + 8, row), 0);
            putWord(rom, cellAt(column + 48, row), 0);
        }
    }
    for (int column = 0; column < 64; ++column) {
        for (int row = 0; row < StageRows; ++row)
            std::copy_n(base.begin() + ptrdiff_t(cellAt(column + 8, row)), 2, rom.begin() + ptrdiff_t(cellAt(column + 48, row)));
    }
    return rom;
}

Bytes rewrittenMap()
{
    std::mt19937 random(3);
    Bytes rom = baseRom();
    for (int column = 0; column < StageColumns; ++column) {
        for (int row = 0; row < StageRows; ++row)
            putWord(rom, cellAt(column, row), tileWord(random));
    }
    return rom;
}

int64_t changedBytes(const Bytes &modified)
{
    int64_t count = 0;
    for (const ByteRun &run : DifferingRuns(baseRom(), modified))
        count += run.end - run.begin;
    return count;
}

void writeFile(const std::filesystem::path &path, const Bytes &bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

// The size of `xdelta3 -e -9 -s BASE MODIFIED OUT`; none where xdelta3 is not installed.
std::optional<uintmax_t> xdeltaBytes(const Bytes &modified)
{
    if (std::system("command -v xdelta3 > /dev/null 2>&1") != 0)
        return std::nullopt;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("tamo-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    writeFile(dir / "base", baseRom());
    writeFile(dir / "modified", modified);
    const std::string command = "xdelta3 -e -9 -f -s '" + (dir / "base").string() + "' '" + (dir / "modified").string()
                                + "' '" + (dir / "out").string() + "'";
    std::optional<uintmax_t> size;
    if (std::system(command.c_str()) == 0)
        size = std::filesystem::file_size(dir / "out");
    std::filesystem::remove_all(dir);
    return size;
}

void BM_MakePatch(benchmark::State &state, PatchFormat format, Bytes (*edit)())
{
    const Bytes modified = edit();
    const Bytes &base = baseRom();
    Bytes patch;
    BoundedTimer timer(state);
    for (auto _ : state) {
        patch = MakePatch(format, base, modified);
        benchmark::DoNotOptimize(patch.data());
    }
    timer.report(base.size());
    if (ApplyPatch(patch, base) != modified)
        state.SkipWithError("the patch does not give the modified image");
    state.counters["patch_bytes"] = double(patch.size());
    state.counters["changed_bytes"] = double(changedBytes(modified));
    if (const auto xdelta = xdeltaBytes(modified))
        state.counters["xdelta3_bytes"] = double(*xdelta);
}

BENCHMARK_CAPTURE(BM_MakePatch, Bps_2000ScatteredWords, PatchFormat::Bps, scatteredWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MakePatch, Ips_2000ScatteredWords, PatchFormat::Ips, scatteredWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MakePatch, Bps_64x16BlockMoved40Columns, PatchFormat::Bps, movedBlock)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MakePatch, Ips_64x16BlockMoved40Columns, PatchFormat::Ips, movedBlock)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MakePatch, Bps_StageTileMapRewritten, PatchFormat::Bps, rewrittenMap)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MakePatch, Ips_StageTileMapRewritten, PatchFormat::Ips, rewrittenMap)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace tamo::bench
