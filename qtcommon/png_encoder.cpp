#include "qtcommon/png_encoder.h"

#include <png.h>

#include <array>
#include <csetjmp>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

namespace tamo {

namespace {

// Deflate level 3: on a wide stage picture less than half the time of the default level 6,
// for a file about a quarter larger (and still smaller than Qt's own settings make).
constexpr int CompressionLevel = 3;
constexpr int MaxPaletteColors = 256;

// The pixels as palette indexes, one byte each, with their palette.
struct PalettePicture
{
    std::vector<uint8_t> indexes;
    std::vector<png_color> palette;
};

// The palette's colours by a small open-addressed table.
class ColorIndex
{
public:
    // The colour's index, given the next free one if it is new; none when the palette is full.
    std::optional<uint8_t> indexOf(QRgb color, std::vector<png_color> &palette)
    {
        const uint32_t rgb = color & 0xFFFFFF;
        for (size_t slot = hash(rgb);; slot = (slot + 1) % Slots) {
            if (m_used[slot] && m_colors[slot] == rgb)
                return m_indexes[slot];
            if (!m_used[slot]) {
                if (palette.size() == MaxPaletteColors)
                    return std::nullopt;
                m_used[slot] = true;
                m_colors[slot] = rgb;
                m_indexes[slot] = uint8_t(palette.size());
                palette.push_back({uint8_t(qRed(color)), uint8_t(qGreen(color)), uint8_t(qBlue(color))});
                return m_indexes[slot];
            }
        }
    }

private:
    // Four times the palette's size: the table is never more than a quarter full.
    static constexpr size_t Slots = 4 * MaxPaletteColors;
    static size_t hash(uint32_t rgb) { return (rgb * 2654435761u) >> 22; }

    std::array<bool, Slots> m_used{};
    std::array<uint32_t, Slots> m_colors{};
    std::array<uint8_t, Slots> m_indexes{};
};

// None when the picture holds more than 256 colours. Neighbouring pixels mostly share a
// colour, so a pixel of the same colour as the one before is not looked up.
std::optional<PalettePicture> palettePicture(const QImage &picture)
{
    PalettePicture result;
    result.indexes.resize(size_t(picture.width()) * size_t(picture.height()));
    ColorIndex index;
    uint8_t *out = result.indexes.data();
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        QRgb last = ~line[0];
        uint8_t lastIndex = 0;
        for (int x = 0; x < picture.width(); ++x, ++out) {
            if (line[x] != last) {
                const std::optional<uint8_t> found = index.indexOf(line[x], result.palette);
                if (!found)
                    return std::nullopt;
                last = line[x];
                lastIndex = *found;
            }
            *out = lastIndex;
        }
    }
    return result;
}

// The rows to write and how: palette indexes, or RGB lines converted from the picture.
struct PngRows
{
    int width = 0;
    int height = 0;
    int colorType = PNG_COLOR_TYPE_RGB;
    int dotsPerMeterX = 0;
    int dotsPerMeterY = 0;
    std::vector<png_color> palette;
    std::vector<png_bytep> rows;
};

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto *bytes = static_cast<std::vector<uint8_t> *>(png_get_io_ptr(png));
    try {
        bytes->insert(bytes->end(), data, data + length);
    } catch (const std::exception &) {
        png_error(png, "out of memory");
    }
}

void noFlush(png_structp) {}

// libpng reports an error by a long jump back here: nothing in this function needs a
// destructor, so the jump skips none. Returns libpng's message, empty on success.
std::string writeRows(const PngRows &rows, std::vector<uint8_t> &out)
{
    // Kept outside the frame the jump returns to, so that what the error wrote survives it.
    static thread_local std::array<char, 200> message;
    message[0] = 0;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, message.data(),
                                              [](png_structp p, png_const_charp text) {
                                                  auto *to = static_cast<char *>(png_get_error_ptr(p));
                                                  std::snprintf(to, 200, "%s", text);
                                                  png_longjmp(p, 1);
                                              },
                                              nullptr);
    if (!png)
        return "the PNG writer cannot be made";
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return message[0] ? message.data() : "the PNG writer cannot be made";
    }
    png_set_write_fn(png, &out, appendBytes, noFlush);
    png_set_IHDR(png, info, png_uint_32(rows.width), png_uint_32(rows.height), 8, rows.colorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (rows.colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, rows.palette.data(), int(rows.palette.size()));
    if (rows.dotsPerMeterX > 0 && rows.dotsPerMeterY > 0)
        png_set_pHYs(png, info, png_uint_32(rows.dotsPerMeterX), png_uint_32(rows.dotsPerMeterY), PNG_RESOLUTION_METER);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, CompressionLevel);
    png_write_info(png, info);
    png_write_rows(png, const_cast<png_bytepp>(rows.rows.data()), png_uint_32(rows.rows.size()));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return {};
}

} // namespace

std::vector<uint8_t> EncodePng(const QImage &source)
{
    const QImage picture = source.convertToFormat(QImage::Format_RGB32);
    if (picture.isNull())
        throw std::runtime_error("the picture cannot be converted for writing");
    PngRows rows;
    rows.width = picture.width();
    rows.height = picture.height();
    rows.dotsPerMeterX = picture.dotsPerMeterX();
    rows.dotsPerMeterY = picture.dotsPerMeterY();
    std::optional<PalettePicture> indexed = palettePicture(picture);
    QImage rgb;
    if (indexed) {
        rows.colorType = PNG_COLOR_TYPE_PALETTE;
        rows.palette = std::move(indexed->palette);
        for (int y = 0; y < picture.height(); ++y)
            rows.rows.push_back(indexed->indexes.data() + size_t(y) * size_t(picture.width()));
    } else {
        rgb = picture.convertToFormat(QImage::Format_RGB888);
        if (rgb.isNull())
            throw std::runtime_error("the picture cannot be converted for writing");
        for (int y = 0; y < rgb.height(); ++y)
            rows.rows.push_back(const_cast<uchar *>(rgb.constScanLine(y)));
    }
    std::vector<uint8_t> png;
    if (const std::string error = writeRows(rows, png); !error.empty())
        throw std::runtime_error("the PNG cannot be written: " + error);
    return png;
}

} // namespace tamo
