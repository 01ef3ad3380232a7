#include "tests/view/view_test_support.h"

#include "view/tile_word.h"

#include <array>

namespace tamo::test {

QRgb chipPixel(int chip, int i, int j)
{
    return qRgb((chip >> 6) & 0xFF, ((chip & 0x3F) << 2) | (i >> 3), ((i & 7) << 5) | j);
}

QImage makeChipImage(int height)
{
    QImage image(2048, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < 2048; ++x) {
            const int block = x / 512;
            const int chip = (y / 32) * 16 + (x % 512) / 32;
            int i = x % 32;
            int j = y % 32;
            if (block & 1)
                i = 31 - i;
            if (block & 2)
                j = 31 - j;
            image.setPixel(x, y, chipPixel(chip, i, j));
        }
    }
    return image;
}

std::unique_ptr<QtPicture> makeChipPicture(int height)
{
    return std::make_unique<QtPicture>(makeChipImage(height));
}

QRgb markPixel(int cell, int i, int j)
{
    return qRgb(0x80 | cell, i * 8, j * 8);
}

std::unique_ptr<QtPicture> makeMarkPicture()
{
    QImage image(128, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 128; ++x)
            image.setPixel(x, y, markPixel(x / 32, x % 32, y));
    }
    return std::make_unique<QtPicture>(image);
}

QRgb tilePixel(uint16_t word, int i, int j)
{
    const int chip = word & 0x3FFF;
    return chipPixel(chip, (word & 0x4000) ? 31 - i : i, (word & 0x8000) ? 31 - j : j);
}

void RecordingCanvas::resize(int width, int height)
{
    m_width = width;
    m_height = height;
    m_hasBitmap = false;
    ++resizes;
}

void RecordingCanvas::drawing()
{
    const int call = m_callCount++;
    if (failAtCall && call == *failAtCall)
        throw OutOfResources("failing as the test asks");
    if (m_hasBitmap || m_width == 0 || m_height == 0)
        return;
    if (int64_t(m_width) * m_height * 4 > m_limit)
        throw OutOfResources("bitmap over the limit");
    m_hasBitmap = true;
    ++bitmapsMade;
}

void RecordingCanvas::copyCell(const Picture &source, int sourceX, int sourceY, int x, int y, CopyMode mode)
{
    drawing();
    calls.push_back({Kind::Copy, &source, sourceX, sourceY, x, y, mode, {}, {}});
}

void RecordingCanvas::fillCell(int x, int y)
{
    drawing();
    calls.push_back({Kind::Fill, nullptr, 0, 0, x, y, CopyMode::Plain, {}, {}});
}

void RecordingCanvas::drawText(int x, int y, std::string_view text, const TextStyle &style)
{
    drawing();
    calls.push_back({Kind::Text, nullptr, 0, 0, x, y, CopyMode::Plain, std::string(text), style});
}

std::vector<RecordingCanvas::Call> RecordingCanvas::ofKind(Kind kind) const
{
    std::vector<Call> result;
    for (const Call &call : calls) {
        if (call.kind == kind)
            result.push_back(call);
    }
    return result;
}

int ChangedBytes(const std::vector<uint8_t> &before, const std::vector<uint8_t> &after)
{
    int changed = 0;
    for (size_t i = 0; i < before.size() && i < after.size(); ++i)
        changed += before[i] != after[i] ? 1 : 0;
    return changed;
}

StageFixture::StageFixture(int32_t mapWidth, int32_t tilemapStart)
    : rom(std::vector<uint8_t>(RomSize, 0))
{
    stage.TilemapOffset = TilemapAt;
    stage.CameraBlockOffset = CameraBlockAt;
    stage.SpriteListOffset = SpriteListAt;
    stage.TilemapStart = tilemapStart;
    stage.ScreenMode = 0;
    stage.MapWidth = mapWidth;
    stage.MapHeight = 16;
    setSprites({});
    setCameras({});
}

void StageFixture::setTile(int32_t mapColumn, int32_t row, uint16_t word)
{
    rom.writeWord(TilemapAt + 2 * (mapColumn * 16 + row), word, "test tile");
}

uint16_t StageFixture::tile(int32_t mapColumn, int32_t row) const
{
    return rom.readWord(TilemapAt + 2 * (mapColumn * 16 + row), "test tile");
}

void StageFixture::setSprites(const std::vector<std::array<uint16_t, 4>> &records)
{
    int64_t at = SpriteListAt;
    for (const auto &record : records) {
        for (uint16_t field : record) {
            rom.writeWord(at, field, "test sprite");
            at += 2;
        }
    }
    rom.writeWord(at, 0, "test sprite end");
}

void StageFixture::setCameras(const std::vector<std::array<uint16_t, 2>> &records)
{
    int64_t at = CameraBlockAt + 8;
    for (const auto &record : records) {
        rom.writeWord(at, record[0], "test camera");
        rom.writeWord(at + 2, record[1], "test camera");
        at += 4;
    }
    rom.writeWord(at, 0xFFFF, "test camera end");
    rom.writeWord(at + 2, 0xFFFF, "test camera end");
}

StageScene StageFixture::scene(Canvas &canvas)
{
    return {rom, stage, chips.get(), marks.get(), switches, canvas};
}

} // namespace tamo::test
