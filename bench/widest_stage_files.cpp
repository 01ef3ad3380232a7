// Writes the benchmarks' widest stage (2,055 columns) as a program folder that tamo-cli
// renders, and the same map as a Tiled map (TMX with a CSV layer, the chip bitmap as its
// tile set), so that the render can be timed beside another tile-map rasterizer. The
// benchmarks' chip bitmap is noise, which no picture format compresses; given a chip bitmap
// (the demo set's, say), that one is repeated to fill the 2048 x 1024 bitmap instead:
//     tamo_widest_stage DIR [CHIPS.bmp]
//     tamo-cli --home DIR render DIR/bench.smc 22 out.png --no-sprites --no-cameras --no-start
//     tmxrasterizer DIR/widest.tmx out.png
#include "bench/bench_fixture.h"
#include "core/file_system.h"
#include "core/stage.h"
#include "qtcommon/qt_picture.h"
#include "view/stage_renderer.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

using namespace tamo;

constexpr int TileSetColumns = 2048 / CellPixels;

// The map as Tiled stores it: rows of tile numbers from 1, 0 for a cell without a chip.
std::string csvLayer(const RomImage &rom, const Stage &stage, const Picture *chips)
{
    std::string csv;
    for (int32_t row = 0; row < stage.MapHeight; ++row) {
        for (int32_t column = 0; column < stage.MapWidth; ++column) {
            const uint16_t word = rom.readWord(TileCellOffset(stage, column, row), "tile");
            const auto corner = ChipCorner(chips, word);
            const int tile = corner ? corner->y / CellPixels * TileSetColumns + corner->x / CellPixels + 1 : 0;
            csv += std::to_string(tile);
            if (row + 1 < stage.MapHeight || column + 1 < stage.MapWidth)
                csv += ',';
        }
        csv += '\n';
    }
    return csv;
}

std::string tmx(const Stage &stage, const std::string &csv)
{
    const std::string cell = std::to_string(CellPixels);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\""
           + std::to_string(stage.MapWidth) + "\" height=\"" + std::to_string(stage.MapHeight)
           + "\" tilewidth=\"" + cell + "\" tileheight=\"" + cell + "\" infinite=\"0\">\n"
           + " <tileset firstgid=\"1\" name=\"chips\" tilewidth=\"" + cell + "\" tileheight=\"" + cell
           + "\" tilecount=\"" + std::to_string(TileSetColumns * 32) + "\" columns=\""
           + std::to_string(TileSetColumns) + "\">\n"
           + "  <image source=\"chips.png\" width=\"2048\" height=\"1024\"/>\n </tileset>\n"
           + " <layer id=\"1\" name=\"tiles\" width=\"" + std::to_string(stage.MapWidth) + "\" height=\""
           + std::to_string(stage.MapHeight) + "\">\n  <data encoding=\"csv\">\n" + csv
           + "  </data>\n </layer>\n</map>\n";
}

QImage repeatedChips(const QImage &chips)
{
    if (chips.isNull())
        throw std::runtime_error("the chip bitmap cannot be read");
    QImage image(2048, 1024, QImage::Format_RGB888);
    QPainter painter(&image);
    painter.drawTiledPixmap(image.rect(), QPixmap::fromImage(chips));
    return image;
}

void writeText(const std::filesystem::path &file, const std::string &text)
{
    fs::writeWholeFile(file, std::span(reinterpret_cast<const uint8_t *>(text.data()), text.size()));
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: tamo_widest_stage DIR [CHIPS.bmp]\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    bench::BenchStage bench(0xFFFF);
    const Stage stage = bench.decode();
    QDir().mkpath(QString::fromStdString((dir / "Data").string()));
    fs::writeWholeFile(dir / "bench.smc", bench.rom.bytes());
    writeText(dir / "Data" / "offsets.ini", "[FG Tilemap]\n01=1\n[Screen mode]\n1=0\n");
    for (const char *name : {"chip1.bmp", "mark.bmp"}) {
        const QString from = QString::fromStdString((bench.programDir() / "Data" / name).string());
        QFile::remove(QString::fromStdString((dir / "Data" / name).string()));
        QFile::copy(from, QString::fromStdString((dir / "Data" / name).string()));
    }
    const QString chipFile = QString::fromStdString((dir / "Data" / "chip1.bmp").string());
    if (argc == 3)
        repeatedChips(QImage(QString::fromLocal8Bit(argv[2]))).save(chipFile, "BMP");
    const std::unique_ptr<QtPicture> chips = QtPicture::load(dir / "Data" / "chip1.bmp");
    chips->image().save(QString::fromStdString((dir / "chips.png").string()), "PNG");
    writeText(dir / "widest.tmx", tmx(stage, csvLayer(bench.rom, stage, chips.get())));
    std::cout << stage.MapWidth * CellPixels << " x " << stage.MapHeight * CellPixels << "\n";
    return 0;
}
