// Stage decoding, list walks and settings on arbitrary ROM bytes with arbitrary offset
// tables. The input's first bytes choose the level and the fourteen offsets; the rest is
// the ROM image. Each offset is a fraction of the image size (from before its start to
// past its end) plus a small jitter, so that tables land near, inside and outside it.
#include "core/ini_file.h"
#include "core/level_settings.h"
#include "core/object_lists.h"
#include "core/offset_table.h"
#include "core/rom_error.h"
#include "core/rom_image.h"
#include "core/rom_patch.h"
#include "core/stage.h"

#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr size_t LevelBytes = 2;
constexpr size_t OffsetBytes = 2;
constexpr size_t OffsetCount = 14;
constexpr size_t HeaderSize = LevelBytes + OffsetBytes * OffsetCount;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

int32_t offsetFrom(const uint8_t *bytes, int64_t imageSize)
{
    // -16..79 in 64ths of the size: two thirds of the tables land inside the image.
    const int64_t fraction = bytes[0] * 3 / 8 - 16;
    const int64_t jitter = static_cast<int8_t>(bytes[1]);
    return static_cast<int32_t>(imageSize * fraction / 64 + jitter);
}

tamo::OffsetTable offsetTableFrom(const uint8_t *header, int64_t imageSize)
{
    int32_t values[OffsetCount];
    for (size_t i = 0; i < OffsetCount; ++i)
        values[i] = offsetFrom(header + LevelBytes + OffsetBytes * i, imageSize);
    tamo::OffsetTable table;
    int32_t *fields[OffsetCount] = {&table.LevelFunc, &table.TileMap,    &table.Banana,     &table.FG,
                                    &table.BG,        &table.Music,      &table.Darkness,   &table.Camera,
                                    &table.StartPoint, &table.Sprite,    &table.StartAction, &table.BaseCamera,
                                    &table.BaseSprite, &table.Banana2};
    for (size_t i = 0; i < OffsetCount; ++i)
        *fields[i] = values[i];
    return table;
}

// Runs one operation; a range error must leave the image exactly as it was.
void guarded(tamo::RomImage &rom, const std::function<void()> &operation)
{
    const std::vector<uint8_t> before = rom.bytes();
    try {
        operation();
    } catch (const tamo::RomError &) {
        require(rom.bytes() == before);
    }
}

// Reads every record of a list and writes each back unchanged: the image must not change.
template<typename Record>
void rewriteList(tamo::RomImage &rom, int64_t offset,
                 std::vector<Record> (*read)(const tamo::RomImage &, int64_t),
                 void (*write)(tamo::RomImage &, int64_t, int, const Record &))
{
    const std::vector<Record> records = read(rom, offset);
    const std::vector<uint8_t> before = rom.bytes();
    for (size_t i = 0; i < records.size(); ++i)
        write(rom, offset, static_cast<int>(i), records[i]);
    require(rom.bytes() == before);
}

tamo::IniFile fuzzOffsetsIni()
{
    return tamo::IniFile::parse("[FG Tilemap]\n00=0\n01=1\n02=2\nFF=-5\n100=99999\n"
                                "[Screen mode]\n0=0\n1=1\n2=2\n-5=3\n99999=0\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < HeaderSize)
        return 0;
    tamo::RomImage rom(std::vector<uint8_t>(data + HeaderSize, data + size));
    const int64_t imageSize = rom.size();
    const int32_t level = static_cast<int16_t>(data[0] | (data[1] << 8));
    const tamo::OffsetTable offsets = offsetTableFrom(data, imageSize);
    const tamo::IniFile offsetsIni = fuzzOffsetsIni();
    const tamo::StageSource source{rom, offsets, offsetsIni};

    guarded(rom, [&] {
        const tamo::Stage stage = tamo::DecodeStage(source, level, tamo::Stage{});
        if (stage.ScreenMode == 0) {
            for (int32_t column = 0; column < stage.MapWidth && column < 64; ++column) {
                for (int32_t row = 0; row < stage.MapHeight; ++row)
                    rom.readWord(tamo::TileCellOffset(stage, column, row), "tile");
            }
        }
    });
    guarded(rom, [&] {
        rewriteList(rom, tamo::SpriteListOffset(rom, offsets, level), tamo::ReadSpriteList,
                    tamo::WriteSpriteRecord);
    });
    guarded(rom, [&] {
        rewriteList(rom, tamo::CameraBlockOffset(rom, offsets, level), tamo::ReadCameraList,
                    tamo::WriteCameraRecord);
    });
    guarded(rom, [&] {
        rewriteList(rom, tamo::BananaListOffset(rom, offsets, level), tamo::ReadBananaList,
                    tamo::WriteBananaRecord);
    });
    // Lists at offsets straight from the table, inside the image or not.
    guarded(rom, [&] { tamo::ReadSpriteList(rom, offsets.Sprite); });
    guarded(rom, [&] { tamo::ReadCameraList(rom, offsets.Camera); });
    guarded(rom, [&] { tamo::ReadBananaList(rom, offsets.Banana); });
    guarded(rom, [&] { tamo::WriteSpriteRecord(rom, offsets.BaseSprite, level, {1, 2, 3, 4}); });
    guarded(rom, [&] { tamo::WriteCameraRecord(rom, offsets.BaseCamera, level, {-1, 70000}); });
    guarded(rom, [&] { tamo::WriteBananaRecord(rom, offsets.Banana2, level, {300, -1, 70000}); });

    guarded(rom, [&] {
        const tamo::LevelSettings settings = tamo::ReadLevelSettings(rom, offsets, level);
        const std::vector<uint8_t> before = rom.bytes();
        tamo::LevelSettingsUpdate same;
        same.FG = settings.FG;
        same.BG = settings.BG;
        same.Music = settings.Music;
        same.Func = settings.Func;
        same.StartAction = settings.StartAction;
        same.StartX = settings.StartX;
        same.StartY = settings.StartY;
        same.DarknessBits = settings.DarknessBits;
        same.BGColor = settings.BGColor;
        same.BGDarkness = settings.BGDarkness;
        same.TilemapStart = settings.TilemapStart;
        same.TilemapEnd = settings.TilemapEnd;
        tamo::WriteLevelSettings(rom, offsets, level, same);
        require(rom.bytes() == before);
    });
    guarded(rom, [&] {
        tamo::LevelSettingsUpdate update;
        update.StartX = -1;
        update.BGColor = 300;
        update.TilemapEnd = 70000;
        tamo::WriteLevelSettings(rom, offsets, level, update);
    });
    guarded(rom, [&] {
        // A patch and the inverse it gives back leave every byte as it was, also where the
        // patch's writes overlap.
        const std::vector<uint8_t> before = rom.bytes();
        tamo::LevelSettingsUpdate update;
        update.Func = static_cast<int32_t>(static_cast<uint32_t>(level) * 0x01010101u);
        update.StartY = level;
        update.DarknessBits = 0xA5;
        update.TilemapStart = 0x1234;
        tamo::RomPatch patch = tamo::LevelSettingsPatch(rom, offsets, level, update);
        patch.writeWord(offsets.FG + level, 0xBEEF, "fuzz");
        const tamo::RomPatch undo = patch.applyTo(rom);
        undo.applyTo(rom);
        require(rom.bytes() == before);
    });
    require(rom.size() == imageSize);
    return 0;
}
