#pragma once

#include "core/rom_image.h"
#include "core/stage.h"
#include "qtcommon/qt_picture.h"
#include "view/canvas.h"
#include "view/stage_scene.h"

#include <QImage>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tamo::test {

// A chip bitmap whose every pixel tells which chip it belongs to and where inside the
// unmirrored chip it comes from: blocks 1 to 3 hold the true mirror images of block 0.
QRgb chipPixel(int chip, int i, int j);
QImage makeChipImage(int height);
std::unique_ptr<QtPicture> makeChipPicture(int height = 1024);

// A mark bitmap of 128 x 32 whose four cells are told apart the same way.
QRgb markPixel(int cell, int i, int j);
std::unique_ptr<QtPicture> makeMarkPicture();

// The pixel a render shows at (i, j) inside a cell holding tile word w.
QRgb tilePixel(uint16_t word, int i, int j);

class FakePicture : public Picture
{
public:
    FakePicture(int width, int height) : m_width(width), m_height(height) {}
    int width() const override { return m_width; }
    int height() const override { return m_height; }

private:
    int m_width;
    int m_height;
};

// Keeps every drawing call. Like a real canvas it makes a bitmap on the first drawing
// after resize() or clear(), failing with OutOfResources when the bitmap would exceed the
// limit; failAtCall makes the n-th drawing call (from 0) fail as well.
class RecordingCanvas : public Canvas
{
public:
    enum class Kind { Copy, Fill, Text };
    struct Call
    {
        Kind kind;
        const Picture *source = nullptr;
        int sourceX = 0;
        int sourceY = 0;
        int x = 0;
        int y = 0;
        CopyMode mode = CopyMode::Plain;
        std::string text;
        TextStyle style;
    };

    int width() const override { return m_width; }
    int height() const override { return m_height; }
    void resize(int width, int height) override;
    void clear() override { m_hasBitmap = false; }
    void copyCell(const Picture &source, int sourceX, int sourceY, int x, int y,
                  CopyMode mode) override;
    void fillCell(int x, int y) override;
    void drawText(int x, int y, std::string_view text, const TextStyle &style) override;
    void setBitmapLimit(int64_t bytes) override { m_limit = bytes; }

    std::vector<Call> calls;
    std::optional<int> failAtCall;
    int bitmapsMade = 0;
    int resizes = 0;

    std::vector<Call> ofKind(Kind kind) const;

private:
    void drawing();

    int m_width = 0;
    int m_height = 0;
    int64_t m_limit = NoBitmapLimit;
    bool m_hasBitmap = false;
    int m_callCount = 0;
};

// How many bytes differ between two images of the same size.
int ChangedBytes(const std::vector<uint8_t> &before, const std::vector<uint8_t> &after);

// A ROM image with one mode-0 stage in it: a tile map of 16 rows at TilemapOffset, a
// sprite list and a camera block, all empty (terminated) until a test fills them.
struct StageFixture
{
    static constexpr int32_t RomSize = 0x40000;
    static constexpr int32_t TilemapAt = 0x1000;
    static constexpr int32_t CameraBlockAt = 0x30000;
    static constexpr int32_t SpriteListAt = 0x31000;

    StageFixture(int32_t mapWidth = 20, int32_t tilemapStart = 0);

    void setTile(int32_t mapColumn, int32_t row, uint16_t word); // column of the shared map
    uint16_t tile(int32_t mapColumn, int32_t row) const;
    void setSprites(const std::vector<std::array<uint16_t, 4>> &records); // Param, X, Y, Type
    void setCameras(const std::vector<std::array<uint16_t, 2>> &records); // X, Y

    StageScene scene(Canvas &canvas);

    RomImage rom;
    Stage stage;
    std::unique_ptr<QtPicture> chips = makeChipPicture();
    std::unique_ptr<QtPicture> marks = makeMarkPicture();
    MarkSwitches switches;
};

} // namespace tamo::test
