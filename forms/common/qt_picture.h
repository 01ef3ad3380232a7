#pragma once

#include "view/stage_pictures.h"

#include <QImage>

#include <filesystem>
#include <memory>

namespace tamo {

// A loaded bitmap, held as 32-bit RGB so that cells copy into a QtCanvas row by row.
class QtPicture : public Picture
{
public:
    explicit QtPicture(QImage image);

    // Reads a BMP (or any format Qt reads); throws std::runtime_error naming the file
    // when it cannot be read.
    static std::unique_ptr<QtPicture> load(const std::filesystem::path &file);

    int width() const override { return m_image.width(); }
    int height() const override { return m_image.height(); }
    const QImage &image() const { return m_image; }

private:
    QImage m_image;
};

class QtPictureLoader : public PictureLoader
{
public:
    std::unique_ptr<Picture> load(const std::filesystem::path &file) const override;
};

} // namespace tamo
