#include "core/object_lists.h"

#include "core/rom_image.h"

#include <array>

namespace tamo {
namespace {

// Walks a list of fixed-size records from offset: each record that lies wholly inside the
// image and is no terminator is read and kept. A list without its terminator ends at the
// end of the image.
template<typename Record, typename IsEnd, typename ReadRecord>
std::vector<Record> readList(const RomImage &rom, int64_t first, int recordSize, IsEnd isEnd,
                             ReadRecord readRecord)
{
    std::vector<Record> records;
    for (int64_t at = first; rom.contains(at, recordSize) && !isEnd(at); at += recordSize)
        records.push_back(readRecord(at));
    return records;
}

template<size_t Size>
void putWord(std::array<uint8_t, Size> &bytes, size_t at, int32_t value)
{
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

} // namespace

std::vector<SpriteRecord> ReadSpriteList(const RomImage &rom, int64_t offset)
{
    const char *what = "Sprite list";
    return readList<SpriteRecord>(
        rom, offset, SpriteRecordSize,
        [&](int64_t at) { return rom.readWord(at, what) == 0; },
        [&](int64_t at) {
            return SpriteRecord{rom.readWord(at, what), rom.readWord(at + 2, what),
                                rom.readWord(at + 4, what), rom.readWord(at + 6, what)};
        });
}

RomPatch SpriteRecordPatch(int64_t offset, int index, const SpriteRecord &record)
{
    std::array<uint8_t, SpriteRecordSize> bytes{};
    putWord(bytes, 0, record.Param);
    putWord(bytes, 2, record.X);
    putWord(bytes, 4, record.Y);
    putWord(bytes, 6, record.Type);
    return RomPatch().write(offset + int64_t(SpriteRecordSize) * index, bytes, "Sprite record");
}

RomPatch SpritePositionPatch(int64_t offset, int index, int32_t x, int32_t y)
{
    std::array<uint8_t, 4> bytes{};
    putWord(bytes, 0, x);
    putWord(bytes, 2, y);
    // X and Y follow the record's Param.
    return RomPatch().write(offset + int64_t(SpriteRecordSize) * index + 2, bytes, "Sprite record");
}

void WriteSpriteRecord(RomImage &rom, int64_t offset, int index, const SpriteRecord &record)
{
    SpriteRecordPatch(offset, index, record).applyTo(rom);
}

std::vector<CameraRecord> ReadCameraList(const RomImage &rom, int64_t blockOffset)
{
    const char *what = "Camera list";
    return readList<CameraRecord>(
        rom, blockOffset + CameraRecordsStart, CameraRecordSize,
        [&](int64_t at) {
            return rom.readWord(at, what) == CameraListEnd || rom.readWord(at + 2, what) == CameraListEnd;
        },
        [&](int64_t at) { return CameraRecord{rom.readWord(at, what), rom.readWord(at + 2, what)}; });
}

RomPatch CameraRecordPatch(int64_t blockOffset, int index, const CameraRecord &record)
{
    std::array<uint8_t, CameraRecordSize> bytes{};
    putWord(bytes, 0, record.X);
    putWord(bytes, 2, record.Y);
    return RomPatch().write(blockOffset + CameraRecordsStart + int64_t(CameraRecordSize) * index,
                            bytes, "Camera record");
}

void WriteCameraRecord(RomImage &rom, int64_t blockOffset, int index, const CameraRecord &record)
{
    CameraRecordPatch(blockOffset, index, record).applyTo(rom);
}

std::vector<BananaRecord> ReadBananaList(const RomImage &rom, int64_t offset)
{
    const char *what = "Banana list";
    return readList<BananaRecord>(
        rom, offset, BananaRecordSize, [&](int64_t at) { return rom.readByte(at, what) == 0; },
        [&](int64_t at) {
            return BananaRecord{rom.readByte(at, what), rom.readByte(at + 1, what), rom.readWord(at + 2, what)};
        });
}

RomPatch BananaRecordPatch(int64_t offset, int index, const BananaRecord &record)
{
    std::array<uint8_t, BananaRecordSize> bytes{};
    bytes[0] = static_cast<uint8_t>(record.Group);
    bytes[1] = static_cast<uint8_t>(record.Y);
    putWord(bytes, 2, record.X);
    return RomPatch().write(offset + int64_t(BananaRecordSize) * index, bytes, "Banana record");
}

void WriteBananaRecord(RomImage &rom, int64_t offset, int index, const BananaRecord &record)
{
    BananaRecordPatch(offset, index, record).applyTo(rom);
}

} // namespace tamo
