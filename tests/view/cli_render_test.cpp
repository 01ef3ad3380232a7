#include "core/ini_file.h"
#include "core/object_lists.h"
#include "core/offset_table.h"
#include "core/rom_image.h"
#include "core/stage.h"
#include "view/canvas.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace tamo {
namespace {

const QString demoDir = QStringLiteral(TAMO_DEMO_DIR);
const QString demoRom = demoDir + QStringLiteral("/demo.smc");

struct CliRun
{
    int exitCode = -1;
    QString standardError;
};

CliRun runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TAMO_CLI_PATH), arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

// The demo set as the editor would load it, for reading what the pictures must show.
class DemoSet
{
public:
    DemoSet()
        : m_ini(IniFile::load((demoDir + "/Data/offsets.ini").toStdString()))
        , m_offsets(LoadOffsetTable(m_ini))
        , m_rom(RomImage::open(demoRom.toStdString()))
    {
    }

    Stage stage(int level) const { return DecodeStage({m_rom, m_offsets, m_ini}, level, Stage{}); }
    const RomImage &rom() const { return m_rom; }

    // The first stage of every tile set.
    std::map<int32_t, int> stagePerTilemap() const
    {
        std::map<int32_t, int> stages;
        for (int level = 0; level < LevelCount; ++level)
            stages.emplace(stage(level).FGTilemap, level);
        return stages;
    }

private:
    IniFile m_ini;
    OffsetTable m_offsets;
    RomImage m_rom;
};

QImage chipBitmap(int32_t fgTilemap)
{
    return QImage(demoDir + QStringLiteral("/Data/chip%1.bmp").arg(fgTilemap))
        .convertToFormat(QImage::Format_RGB32);
}

QRgb background()
{
    return qRgb(BackgroundColor.red, BackgroundColor.green, BackgroundColor.blue);
}

class CliRender : public testing::Test
{
protected:
    QImage render(int level, const QStringList &options)
    {
        const QString file = m_out.filePath(QStringLiteral("stage%1-%2.png").arg(level).arg(++m_count));
        const CliRun run = runCli(QStringList{"render", demoRom, QString::number(level), file} + options);
        EXPECT_EQ(run.exitCode, 0) << run.standardError.toStdString();
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }

    DemoSet demo;
    QTemporaryDir m_out;
    int m_count = 0;
};

const QStringList tilesOnly{"--no-sprites", "--no-cameras", "--no-start"};

// The tiles of a stage of screen mode 0 worked out here: cell (c, r) shows the word at
// TilemapOffset + 2 x ((c + TilemapStart / 32) x 16 + r), chip k of it being the 32 x 32
// square at column k % 16, row k / 16 of the bitmap's first block, or of the second, third
// or fourth for a horizontal, vertical or double flip; a chip beyond the bitmap is
// background.
QImage tilePicture(const DemoSet &demo, const Stage &stage, const QImage &chips)
{
    QImage picture(stage.MapWidth * 32, stage.MapHeight * 32, QImage::Format_RGB32);
    picture.fill(background());
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int c = 0; c < stage.MapWidth; ++c) {
        for (int r = 0; r < stage.MapHeight; ++r) {
            const int64_t at = stage.TilemapOffset + 2 * ((c + stage.TilemapStart / 32) * 16 + r);
            const uint16_t w = demo.rom().readWord(at, "tile");
            const int sx = (w & 0xF) * 32 + ((w >> 14) & 1) * 512 + (w >> 15) * 1024;
            const int sy = ((w & 0x3FFF) >> 4) * 32;
            if (sy + 32 <= chips.height())
                painter.drawImage(QPoint(32 * c, 32 * r), chips, QRect(sx, sy, 32, 32));
        }
    }
    return picture;
}

TEST_F(CliRender, TilesOfEveryModeZeroTileSetComeFromTheChipBitmap)
{
    int checked = 0;
    for (const auto &[tilemap, level] : demo.stagePerTilemap()) {
        const Stage stage = demo.stage(level);
        if (stage.ScreenMode != 0)
            continue;
        const QImage image = render(level, tilesOnly);
        ASSERT_EQ(image.size(), QSize(stage.MapWidth * 32, stage.MapHeight * 32)) << "stage " << level;
        const QImage expected = tilePicture(demo, stage, chipBitmap(tilemap));
        int wrongCells = 0;
        for (int c = 0; image != expected && c < stage.MapWidth; ++c) {
            for (int r = 0; r < stage.MapHeight; ++r) {
                const QRect cell(32 * c, 32 * r, 32, 32);
                wrongCells += image.copy(cell) != expected.copy(cell);
            }
        }
        EXPECT_EQ(wrongCells, 0) << "stage " << level;
        ++checked;
    }
    EXPECT_GE(checked, 2);
}

struct MarkRects
{
    std::vector<QRect> sprites, cameras, start;
};

MarkRects markRects(const DemoSet &demo, const Stage &stage)
{
    MarkRects rects;
    const int bottom = stage.MapHeight * 32;
    for (const SpriteRecord &sprite : ReadSpriteList(demo.rom(), stage.SpriteListOffset))
        rects.sprites.emplace_back(sprite.X - stage.TilemapStart, bottom - sprite.Y - 32, 32, 32);
    for (const CameraRecord &camera : ReadCameraList(demo.rom(), stage.CameraBlockOffset))
        rects.cameras.emplace_back(camera.X - stage.TilemapStart, camera.Y - 32, 32, 32);
    rects.start.emplace_back(stage.StartX - stage.TilemapStart, bottom - stage.StartY - 32, 32, 32);
    return rects;
}

// Pixels that differ from the tiles-only picture outside the allowed rectangles.
int stray(const QImage &image, const QImage &tiles, const std::vector<QRect> &allowed, int *changed)
{
    int outside = 0;
    *changed = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == tiles.pixel(x, y))
                continue;
            ++*changed;
            bool covered = false;
            for (const QRect &rect : allowed)
                covered = covered || rect.contains(x, y);
            outside += !covered;
        }
    }
    return outside;
}

TEST_F(CliRender, MarksChangeOnlyTheirOwnRectangles)
{
    const int level = 22;
    const Stage stage = demo.stage(level);
    ASSERT_EQ(stage.ScreenMode, 0);
    const MarkRects rects = markRects(demo, stage);
    ASSERT_FALSE(rects.sprites.empty());
    ASSERT_FALSE(rects.cameras.empty());
    const QImage tiles = render(level, tilesOnly);

    auto join = [](std::initializer_list<const std::vector<QRect> *> parts) {
        std::vector<QRect> all;
        for (const auto *part : parts)
            all.insert(all.end(), part->begin(), part->end());
        return all;
    };
    int changed = 0;
    EXPECT_EQ(stray(render(level, {}), tiles, join({&rects.sprites, &rects.cameras, &rects.start}), &changed), 0);
    EXPECT_GT(changed, 0);
    EXPECT_EQ(stray(render(level, {"--no-cameras"}), tiles, join({&rects.sprites, &rects.start}), &changed), 0);
    EXPECT_GT(changed, 0);
    EXPECT_EQ(stray(render(level, {"--no-sprites", "--no-start"}), tiles, join({&rects.cameras}), &changed), 0);
    EXPECT_GT(changed, 0);
}

// The whole picture worked out here: the tiles, then the marks in their order (sprites,
// cameras, the start point), each the mark bitmap's cell for its kind; their labels write
// only shades of their kind's colour on black, from four pixels inside the mark's top-left
// corner on.
TEST_F(CliRender, SamePixelsAsTheEditorsStageLoad)
{
    const int level = 22;
    const Stage stage = demo.stage(level);
    const QImage marks = QImage(demoDir + "/Data/mark.bmp").convertToFormat(QImage::Format_RGB32);
    struct Mark
    {
        QRect place;
        int cell;
        QRgb label;
    };
    const MarkRects rects = markRects(demo, stage);
    const std::vector<SpriteRecord> sprites = ReadSpriteList(demo.rom(), stage.SpriteListOffset);
    std::vector<Mark> drawn;
    for (size_t i = 0; i < sprites.size(); ++i) {
        const bool paramOne = sprites[i].Param == 1;
        drawn.push_back({rects.sprites[i], paramOne ? 0 : 3, paramOne ? qRgb(255, 0, 0) : qRgb(255, 0, 255)});
    }
    for (const QRect &camera : rects.cameras)
        drawn.push_back({camera, 2, qRgb(0, 255, 0)});
    drawn.push_back({rects.start.front(), 1, qRgb(255, 255, 0)});
    QImage expected = tilePicture(demo, stage, chipBitmap(stage.FGTilemap));
    for (const Mark &mark : drawn) {
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (expected.rect().contains(mark.place.x() + x, mark.place.y() + y))
                    expected.setPixel(mark.place.x() + x, mark.place.y() + y, marks.pixel(32 * mark.cell + x, y));
            }
        }
    }
    // A shade of the colour, black included: nothing where it has none, its channels alike.
    const auto shadeOf = [](QRgb pixel, QRgb color) {
        const int channels[] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
        const int full[] = {qRed(color), qGreen(color), qBlue(color)};
        int shade = -1;
        for (int i = 0; i < 3; ++i) {
            if (full[i] == 0 ? channels[i] != 0 : shade >= 0 && channels[i] != shade)
                return false;
            if (full[i] != 0)
                shade = channels[i];
        }
        return true;
    };
    const QImage shown = render(level, {});
    ASSERT_EQ(shown.size(), expected.size());
    int labelled = 0;
    int wrong = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixel(x, y) == expected.pixel(x, y))
                continue;
            const bool label = std::any_of(drawn.begin(), drawn.end(), [&](const Mark &mark) {
                return QRect(mark.place.topLeft() + QPoint(4, 4), QSize(64, 32)).contains(x, y)
                    && shadeOf(shown.pixel(x, y), mark.label);
            });
            (label ? labelled : wrong) += 1;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(labelled, 100) << "the labels are written";
}

// Output names are the bytes they were given in, UTF-8 or not: "out" + 0xFF + ".png" is
// written under that name, and a folder that is missing is named in the error as given.
TEST_F(CliRender, AnOutputNameThatIsNotUtf8IsWrittenAndNamedByItsOwnBytes)
{
    const QImage expected = render(22, tilesOnly);
    const std::filesystem::path folder = m_out.path().toStdString();
    struct Run
    {
        int exitCode = -1;
        QByteArray standardError;
    };
    // The shell hands the name's bytes over as they are; Qt's process arguments would not.
    const auto renderTo = [&](const char *printfName) {
        QProcess process;
        process.start(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"),
                       QStringLiteral("exec \"$0\" render \"$1\" 22 \"$2/$(printf \"$3\")\" --no-sprites --no-cameras --no-start"),
                       QStringLiteral(TAMO_CLI_PATH), demoRom, m_out.path(), QString::fromLatin1(printfName)});
        process.waitForFinished(120000);
        return Run{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardError()};
    };

    const Run written = renderTo("out\\377.png");
    const std::filesystem::path file = folder / "out\xFF.png";
    std::ifstream in(file, std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    // QTemporaryDir cannot remove a file whose name is not UTF-8.
    std::filesystem::remove(file);
    EXPECT_EQ(written.exitCode, 0) << written.standardError.constData();
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(png)).convertToFormat(QImage::Format_RGB32), expected);
    EXPECT_FALSE(std::filesystem::exists(folder / "out\xEF\xBF\xBD.png")) << "no U+FFFD in its place";

    const Run refused = renderTo("missing\\377/out.png");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.standardError.contains("missing\xFF/out.png")) << refused.standardError.constData();
}

TEST_F(CliRender, ScreenModesOneAndTwoGiveAnEmptyMapOfTheirSize)
{
    int checked = 0;
    for (const auto &[tilemap, level] : demo.stagePerTilemap()) {
        const Stage stage = demo.stage(level);
        if (stage.ScreenMode != 1 && stage.ScreenMode != 2)
            continue;
        const QImage image = render(level, {});
        ASSERT_EQ(image.size(), QSize(stage.MapWidth * 32, stage.MapHeight * 32));
        if (stage.ScreenMode == 1) {
            EXPECT_EQ(image.size(), QSize(2048, 12512));
        }
        int drawn = 0;
        for (int y = 0; y < image.height(); y += 7) {
            for (int x = 0; x < image.width(); x += 5)
                drawn += image.pixel(x, y) != background();
        }
        EXPECT_EQ(drawn, 0) << "stage " << level;
        ++checked;
    }
    EXPECT_GE(checked, 1);
}

TEST_F(CliRender, PaletteShowsTheBlockOfTheFlipsWithThePenInverted)
{
    const int level = 22;
    const Stage stage = demo.stage(level);
    const QImage chips = chipBitmap(stage.FGTilemap);
    const QString file = m_out.filePath("palette.png");
    const CliRun run = runCli({"palette", demoRom, QString::number(level), file, "--chip", "0x12", "--hflip"});
    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    const QImage palette = QImage(file).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(palette.size(), QSize(512, chips.height()));
    int wrong = 0;
    for (int y = 0; y < chips.height() / 32 * 32; ++y) {
        for (int x = 0; x < 512; ++x) {
            QRgb expected = chips.pixel(512 + x, y);
            if (x / 32 + (y / 32) * 16 == 0x12)
                expected = qRgb(255 - qRed(expected), 255 - qGreen(expected), 255 - qBlue(expected));
            wrong += palette.pixel(x, y) != expected;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(CliRenderErrors, UnreadableChipBitmapIsNamed)
{
    QTemporaryDir home;
    QDir(home.path()).mkpath("Data");
    QDir(home.path()).mkpath("Config");
    for (const QString &name : QDir(demoDir + "/Data").entryList(QDir::Files))
        QFile::copy(demoDir + "/Data/" + name, home.filePath("Data/" + name));
    const DemoSet demo;
    const int32_t tilemap = demo.stage(22).FGTilemap;
    const QString chipName = QStringLiteral("chip%1.bmp").arg(tilemap);
    ASSERT_TRUE(QFile::remove(home.filePath("Data/" + chipName)));
    const QString out = home.filePath("out.png");
    for (const QString &command : {QStringLiteral("render"), QStringLiteral("palette")}) {
        const CliRun run = runCli({command, "--home", home.path(), demoRom, "22", out});
        EXPECT_EQ(run.exitCode, 1) << command.toStdString();
        EXPECT_TRUE(run.standardError.contains(chipName)) << run.standardError.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

} // namespace
} // namespace tamo
