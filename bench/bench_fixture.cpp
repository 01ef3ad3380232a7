#include "bench/bench_fixture.h"

#include "bench/memcpy_bound.h"
#include "core/file_system.h"
#include "files/file_names.h"
#include "files/program_folder.h"
#include "view/map_pen.h"
#include "view/stage_pictures.h"
#include "view/stage_renderer.h"

#include <QDir>
#include <QImage>

#include <benchmark/benchmark.h>

#include <random>
#include <stdexcept>

namespace tamo::bench {

namespace {

constexpr int32_t RomBytes = 0x400000;
constexpr int32_t TilemapAt = 0x100000;
constexpr int32_t CameraWord = 0x1004; // block at BaseCamera + 0x1000
constexpr int32_t SpriteWord = 0x2000;

void writeLong(RomImage &rom, int64_t offset, uint32_t value)
{
    const uint8_t bytes[] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16)};
    rom.write(offset, bytes, "bench tile map pointer");
}

QImage chipImage()
{
    QImage image(2048, 1024, QImage::Format_RGB888);
    std::mt19937 random(7);
    for (int y = 0; y < image.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < image.width() * 3; ++x)
            line[x] = uchar(random());
    }
    return image;
}

void save(const QImage &image, const QString &file)
{
    if (!image.save(file, "BMP"))
        throw std::runtime_error("cannot write " + file.toStdString());
}

} // namespace

BenchStage::BenchStage(int32_t tilemapEnd, int sprites, int cameras)
    : rom(std::vector<uint8_t>(RomBytes, 0))
    , offsetsIni(IniFile::parse("[FG Tilemap]\n01=1\n[Screen mode]\n1=0\n"))
{
    rom.writeWord(offsets.FG + 2 * Level, 0x0001, "bench FG");
    writeLong(rom, offsets.TileMap + 3 * 1, 0xC00000 + TilemapAt);
    rom.writeWord(offsets.Camera + 2 * Level, CameraWord, "bench camera");
    rom.writeWord(offsets.Sprite + 2 * Level, SpriteWord, "bench sprite");
    rom.writeWord(offsets.StartPoint + 4 * Level, 200, "bench start");
    rom.writeWord(offsets.StartPoint + 4 * Level + 2, 64, "bench start");

    const int64_t block = offsets.BaseCamera + CameraWord - 4;
    rom.writeWord(block, 0, "bench TilemapStart");
    rom.writeWord(block + 2, uint32_t(tilemapEnd), "bench TilemapEnd");
    std::mt19937 random(11);
    for (int i = 0; i < cameras; ++i) {
        rom.writeWord(block + 8 + 4 * i, 100 + 300 * i, "bench camera");
        rom.writeWord(block + 10 + 4 * i, 100 + 30 * (i % 10), "bench camera");
    }
    rom.writeDword(block + 8 + 4 * cameras, 0xFFFFFFFF, "bench camera end");
    const int64_t spriteList = offsets.BaseSprite + SpriteWord;
    for (int i = 0; i < sprites; ++i) {
        const int64_t at = spriteList + 8 * i;
        rom.writeWord(at, i % 3 == 0 ? 1 : 0x20, "bench sprite");
        rom.writeWord(at + 2, 64 + 90 * i, "bench sprite");
        rom.writeWord(at + 4, 32 + (i % 12) * 32, "bench sprite");
        rom.writeWord(at + 6, 0x9000 + i, "bench sprite");
    }
    rom.writeWord(spriteList + 8 * sprites, 0, "bench sprite end");

    // Tile words with every flip and chips across the whole bitmap.
    const Stage stage = decode();
    for (int64_t cell = 0; cell < int64_t(stage.MapWidth) * stage.MapHeight; ++cell)
        rom.writeWord(TilemapAt + 2 * cell, random() & 0xC1FF, "bench tile");

    QDir(m_dir.path()).mkpath("Data");
    save(chipImage(), m_dir.filePath("Data/chip1.bmp"));
    save(chipImage().copy(0, 0, 128, 32), m_dir.filePath("Data/mark.bmp"));
    const QtPictureLoader loader;
    const ProgramFolder folder(programDir());
    LoadPicture(loader, folder.chipBitmap(stage.FGTilemap), chipPicture);
    LoadPicture(loader, folder.markBitmap(), markPicture);
}

Stage BenchStage::decode() const
{
    return DecodeStage({rom, offsets, offsetsIni}, Level, Stage{});
}

std::filesystem::path BenchStage::programDir() const
{
    return m_dir.path().toStdString();
}

StageScene BenchStage::scene(const Stage &stage, Canvas &canvas, MarkSwitches switches)
{
    return {rom, stage, chipPicture.get(), markPicture.get(), switches, canvas};
}

EditedStage::EditedStage(int32_t tilemapEnd)
    : bench(tilemapEnd)
    , stage(bench.decode())
    , scene{document.image(), stage, bench.chipPicture.get(), bench.markPicture.get(), {}, canvas}
{
    const std::filesystem::path file = bench.programDir() / "bench.smc";
    fs::writeWholeFile(file, bench.rom.bytes());
    document.open(fileNameText(file));
    canvas.resize(stage.MapWidth * CellPixels, stage.MapHeight * CellPixels);
    RedrawStage(scene);
    QObject::connect(&document, &RomDocument::changed,
                     [this](const RomChange &change) { DrawChangedCells(scene, change.patch); });
}

void DocumentHost::showCellStatus(const std::string &text)
{
    benchmark::DoNotOptimize(text.data());
}

void DocumentHost::showPenStatus(const std::string &text)
{
    benchmark::DoNotOptimize(text.data());
}

void DocumentHost::paint(const RomPatch &patch)
{
    document.edit(stroke.edit(patch, BenchStage::Level, document.image()));
}

void DocumentHost::editTiles(const std::string &text, const RomPatch &patch)
{
    document.edit(RomEdit{QString::fromStdString(text), EditScope::TileMap, BenchStage::Level, patch});
}

void TimePuts(benchmark::State &state, EditedStage &edited)
{
    const Stage &stage = edited.stage;
    Pen pen{0x123, true, false, true, {}};
    DocumentHost host(edited.document);
    MapTools tools;
    MapEditor editor(edited.scene, pen, tools, host);
    int64_t cell = 0;
    int64_t puts = 0;
    BoundedTimer timer(state);
    for (auto _ : state) {
        host.strokeStarted();
        pen.CurrentChip = int32_t(puts++ & 0xFF);
        editor.PutChip(int32_t(cell / stage.MapHeight), int32_t(cell % stage.MapHeight));
        cell = (cell + 37) % (int64_t(stage.MapWidth) * stage.MapHeight);
        // The history grows by a step a put; emptying it now and then counts in the mean.
        if (puts % 4096 == 0)
            edited.document.history()->clear();
    }
    timer.report(CellPixels * CellPixels * 4);
}

} // namespace tamo::bench
