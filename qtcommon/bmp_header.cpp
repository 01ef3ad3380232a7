#include "qtcommon/bmp_header.h"

#include <algorithm>
#include <limits>

namespace tamo {

namespace {

constexpr uint64_t FileHeaderSize = 14;
constexpr uint64_t CoreHeaderSize = 12; // the OS/2 header, with 16-bit sizes
constexpr uint64_t InfoHeaderSize = 40; // and every later header, which begins alike
constexpr uint64_t Unlimited = std::numeric_limits<uint64_t>::max();

enum Compression : uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };

uint32_t littleEndian(std::span<const uint8_t> bytes, size_t at, int length)
{
    uint32_t value = 0;
    for (int i = length - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<size_t>(i)];
    return value;
}

uint64_t saturatedProduct(uint64_t a, uint64_t b)
{
    return a != 0 && b > Unlimited / a ? Unlimited : a * b;
}

uint64_t rowBytes(int64_t width, uint32_t bitsPerPixel)
{
    return width <= 0 ? 0 : (uint64_t(width) * bitsPerPixel + 31) / 32 * 4;
}

} // namespace

std::optional<uint64_t> BmpDeclaredLength(std::span<const uint8_t> file)
{
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M')
        return std::nullopt;
    if (file.size() < FileHeaderSize + 4)
        return FileHeaderSize + 4;
    const uint64_t infoSize = littleEndian(file, 14, 4);
    if (infoSize != CoreHeaderSize && infoSize < InfoHeaderSize)
        return std::nullopt;
    const uint64_t fieldsEnd = FileHeaderSize + std::min(infoSize, InfoHeaderSize);
    if (file.size() < fieldsEnd)
        return fieldsEnd;

    int64_t width = 0;
    int64_t height = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t compression = Rgb;
    uint64_t encodedSize = 0;
    if (infoSize == CoreHeaderSize) {
        width = littleEndian(file, 18, 2);
        height = littleEndian(file, 20, 2);
        bitsPerPixel = littleEndian(file, 24, 2);
    } else {
        width = static_cast<int32_t>(littleEndian(file, 18, 4));
        height = static_cast<int32_t>(littleEndian(file, 22, 4)); // negative: rows top-down
        bitsPerPixel = littleEndian(file, 28, 2);
        compression = littleEndian(file, 30, 4);
        encodedSize = littleEndian(file, 34, 4);
    }

    uint64_t pixelBytes = 0;
    if (compression == Rgb || compression == BitFields || compression == AlphaBitFields)
        pixelBytes = saturatedProduct(rowBytes(width, bitsPerPixel), uint64_t(height < 0 ? -height : height));
    else if (compression == Rle8 || compression == Rle4)
        pixelBytes = encodedSize;
    // A start inside the headers is not where a reader would take the pixels from.
    const uint64_t headersEnd = FileHeaderSize + infoSize;
    const uint64_t pixelStart = std::max<uint64_t>(littleEndian(file, 10, 4), headersEnd);
    return pixelBytes > Unlimited - pixelStart ? Unlimited : pixelStart + pixelBytes;
}

} // namespace tamo
