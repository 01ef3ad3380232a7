#include "forms/common/qt_picture.h"

#include <QImageReader>
#include <QString>

#include <stdexcept>

namespace tamo {

namespace {

// Qt refuses images above 256 MB by default; a chip bitmap of a long tile set is allowed
// more, and a file claiming still more fails to read like any broken file.
constexpr int ReadLimitMegabytes = 1024;

} // namespace

QtPicture::QtPicture(QImage image)
    : m_image(image.convertToFormat(QImage::Format_RGB32))
    , m_width(m_image.width())
    , m_height(m_image.height())
    , m_bits(m_image.constBits())
    , m_bytesPerLine(m_image.bytesPerLine())
{
}

std::unique_ptr<QtPicture> QtPicture::load(const std::filesystem::path &file)
{
    const QString name = QString::fromStdU16String(file.u16string());
    QImageReader reader(name);
    reader.setAllocationLimit(ReadLimitMegabytes);
    QImage image;
    if (!reader.read(&image)) {
        throw std::runtime_error(file.string() + ": the bitmap cannot be read ("
                                 + reader.errorString().toStdString() + ")");
    }
    return std::make_unique<QtPicture>(std::move(image));
}

std::unique_ptr<Picture> QtPictureLoader::load(const std::filesystem::path &file) const
{
    return QtPicture::load(file);
}

} // namespace tamo
