#include "qtcommon/qt_picture.h"
#include "tests/support/temp_folder.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace tamo {
namespace {

// The file Qt's own BMP writer makes of an image.
std::string bmpFile(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

void setLittleEndian(std::string &bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (8 * i));
}

class QtPictureTest : public ::testing::Test
{
protected:
    // What loading the bytes as Data\chip2.bmp says; empty when the bitmap loads.
    std::string loadError(const std::string &bytes) const
    {
        std::ofstream(file, std::ios::binary) << bytes;
        try {
            QtPicture::load(file);
            return {};
        } catch (const std::exception &error) {
            return error.what();
        }
    }

    const test::TempFolder folder;
    const std::filesystem::path file = folder.path / "chip2.bmp";
};

TEST_F(QtPictureTest, ABitmapCutShortIsRefusedWithTheUsualError)
{
    // Rows of 33 pixels: 99 bytes in 24 bits, padded to 100; 5 bytes in 1 bit, padded to 8.
    QImage colour(33, 20, QImage::Format_RGB32);
    colour.fill(qRgb(10, 200, 30));
    colour.setPixel(32, 19, qRgb(1, 2, 3));
    QImage mono(33, 20, QImage::Format_Mono);
    mono.fill(1);
    for (const QImage &image : {colour, mono}) {
        const std::string whole = bmpFile(image);
        ASSERT_EQ(loadError(whole), "");
        EXPECT_EQ(QtPicture::load(file)->image().pixel(32, 19), image.pixel(32, 19));
        for (const size_t length : {size_t(100), whole.size() / 2, whole.size() - 1, size_t(20)}) {
            const std::string error = loadError(whole.substr(0, length));
            EXPECT_NE(error.find("chip2.bmp: the bitmap cannot be read"), std::string::npos) << length << ": " << error;
        }
    }
}

TEST_F(QtPictureTest, AHeaderAskingForMoreThanTheFileHoldsIsRefused)
{
    // A 6 KB file whose header asks for 2048 x 65536 pixels of 24 bits: 384 MiB of pixels,
    // which Qt would make before finding the file short. Rows top-down (a negative height)
    // need the same.
    std::string bytes = bmpFile(QImage(16, 16, QImage::Format_RGB32));
    bytes.resize(6144);
    setLittleEndian(bytes, 18, 2048);
    for (const int32_t height : {65536, -65536}) {
        setLittleEndian(bytes, 22, uint32_t(height));
        const std::string error = loadError(bytes);
        EXPECT_NE(error.find("cannot be read (the file ends after 6144 bytes, its header declares 402653238)"),
                  std::string::npos) << error;
    }

    // The same rows top-down that the file does hold load.
    std::string topDown = bmpFile(QImage(8, 4, QImage::Format_RGB32));
    setLittleEndian(topDown, 22, uint32_t(-4));
    EXPECT_EQ(loadError(topDown), "");
}

TEST_F(QtPictureTest, RunLengthEncodedPixelsMustBeThereAsTheHeaderCountsThem)
{
    // 8-bit, run-length encoded, 4 x 4: a grey palette, then one run of four pixels of
    // colour 9 and the end of the bitmap.
    std::string bytes(14 + 40 + 256 * 4, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    setLittleEndian(bytes, 10, uint32_t(bytes.size()));
    setLittleEndian(bytes, 14, 40);
    setLittleEndian(bytes, 18, 4);
    setLittleEndian(bytes, 22, 4);
    bytes[26] = 1;
    bytes[28] = 8;
    setLittleEndian(bytes, 30, 1);
    for (int i = 0; i < 256; ++i)
        bytes[54 + 4 * i] = bytes[55 + 4 * i] = bytes[56 + 4 * i] = char(i);
    bytes += std::string("\x04\x09\x00\x01", 4);
    setLittleEndian(bytes, 34, 4);
    EXPECT_EQ(loadError(bytes), "");
    setLittleEndian(bytes, 34, 5);
    EXPECT_NE(loadError(bytes).find("cannot be read"), std::string::npos);
}

} // namespace
} // namespace tamo
