#include "qtcommon/qt_canvas.h"
#include "tests/view/view_test_support.h"
#include "view/chip_palette.h"
#include "view/map_editor.h"
#include "view/map_pen.h"
#include "view/stage_renderer.h"

#include <gtest/gtest.h>

#include <random>

namespace tamo {
namespace {

// Whatever the ROM and the data files hold, drawing and editing neither fail nor touch
// bytes outside the image (the sanitizer build checks the reads of both bitmaps).
struct PaintingHost : MapEditorHost
{
    PaintingHost(RomImage &rom, const StageScene &scene) : rom(rom), scene(scene) {}

    void showCellStatus(const std::string &) override {}
    void showPenStatus(const std::string &) override {}
    void penChanged() override {}
    void strokeStarted() override {}
    void paint(const RomPatch &patch) override
    {
        patch.applyTo(rom);
        DrawChangedCells(scene, patch);
    }
    void imageChanged() override {}
    void editTiles(const std::string &, const RomPatch &patch) override { paint(patch); }
    void copyTiles(const TileBlock &block) override { copied = block; }
    void toolsChanged() override {}

    RomImage &rom;
    TileBlock copied = SingleCellBlock(0x4321);
    const StageScene &scene;
};

Stage randomStage(std::mt19937 &random, int32_t romSize)
{
    std::uniform_int_distribution<int32_t> offset(-200, romSize + 200);
    std::uniform_int_distribution<int32_t> word(0, 0xFFFF);
    Stage stage;
    stage.TilemapOffset = offset(random);
    stage.SpriteListOffset = offset(random);
    stage.CameraBlockOffset = offset(random);
    stage.TilemapStart = word(random);
    stage.StartX = word(random);
    stage.StartY = word(random);
    stage.ScreenMode = 0;
    stage.MapWidth = std::uniform_int_distribution<int32_t>(-3, 12)(random);
    stage.MapHeight = 16;
    return stage;
}

std::unique_ptr<QtPicture> randomPicture(std::mt19937 &random)
{
    const int width = std::uniform_int_distribution<int>(1, 2100)(random);
    const int height = std::uniform_int_distribution<int>(1, 100)(random);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    return std::make_unique<QtPicture>(image);
}

TEST(HostileData, RandomStagesDrawAndEditInsideTheImage)
{
    std::mt19937 random(1234);
    constexpr int32_t romSize = 800;
    std::vector<uint8_t> bytes(romSize);
    for (uint8_t &byte : bytes)
        byte = uint8_t(random());
    RomImage rom(bytes);
    for (int round = 0; round < 80; ++round) {
        const Stage stage = randomStage(random, romSize);
        const auto chips = randomPicture(random);
        const auto marks = randomPicture(random);
        QtCanvas canvas;
        canvas.resize(stage.MapWidth * 32, stage.MapHeight * 32);
        const StageScene scene{rom, stage, chips.get(), marks.get(), {}, canvas};
        ASSERT_NO_THROW(RedrawStage(scene)) << "round " << round;
        Pen pen{int32_t(random() & 0xFFFF), bool(random() & 1), bool(random() & 1), false, {}};
        PaintingHost host(rom, scene);
        MapTools tools;
        MapEditor editor(scene, pen, tools, host);
        TileTools &tiles = editor.tiles();
        for (int event = 0; event < 6; ++event) {
            const int x = std::uniform_int_distribution<int>(-100, 500)(random);
            const int y = std::uniform_int_distribution<int>(-100, 600)(random);
            const MouseButton button = MouseButton(random() % 4);
            ASSERT_NO_THROW(editor.mouseDown(button, x, y, random() & 1));
            ASSERT_NO_THROW(editor.mouseMove(y, x));
            ASSERT_NO_THROW(editor.mouseUp());
            // The selection and the stamp the drags left, if any, put everywhere.
            ASSERT_NO_THROW(tiles.fill());
            ASSERT_NO_THROW(tiles.cut());
            ASSERT_NO_THROW(tiles.paste(host.copied, CellAt(x, y)));
            ASSERT_NO_THROW(tiles.placeFloating(CellAt(y, x)));
            ASSERT_NO_THROW(editor.PutChip(x / 8, y / 40));
            ASSERT_NO_THROW(ChoosePaletteChip(pen, x < 0 ? 0 : x, y < 0 ? 0 : y));
        }
        EXPECT_EQ(rom.size(), romSize);
        QtCanvas palette;
        ASSERT_NO_THROW(DrawChipPalette(true, chips.get(), pen, palette));
    }
}

} // namespace
} // namespace tamo
