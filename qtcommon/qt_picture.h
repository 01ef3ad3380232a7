#pragma once

#include "view/stage_pictures.h"

#include <QImage>

#include <filesystem>
#include <memory>

namespace tamo {

// A loaded bitmap, held as 32-bit RGB so that cells copy into a QtCanvas row by row.
class QtPicture final : public Picture
{
public:
    explicit QtPicture(QImage image);

    // Reads a BMP (or any format Qt reads); throws std::runtime_error naming the file
    // when it cannot be read, and so for a BMP file shorter than its header declares,
    // before anything is made for its pixels.
    static std::unique_ptr<QtPicture> load(const std::filesystem::path &file);

    int width() const override { return m_width; }
    int height() const override { return m_height; }
    const QImage &image() const { return m_image; }
    // The pixels as 32-bit RGB lines, bytesPerLine() bytes apart.
    const uchar *bits() const { return m_bits; }
    qsizetype bytesPerLine() const { return m_bytesPerLine; }

private:
    QImage m_image;
    // Kept apart from m_image so that a cell copy reads them without a call into Qt.
    int m_width = 0;
    int m_height = 0;
    const uchar *m_bits = nullptr;
    qsizetype m_bytesPerLine = 0;
};

class QtPictureLoader : public PictureLoader
{
public:
    std::unique_ptr<Picture> load(const std::filesystem::path &file) const override;
};

} // namespace tamo
