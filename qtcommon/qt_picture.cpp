#include "qtcommon/qt_picture.h"

#include "core/file_system.h"
#include "qtcommon/bmp_header.h"

#include <QBuffer>
#include <QImageReader>
#include <QString>

#include <stdexcept>
#include <string>

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
    const auto cannotBeRead = [&](const std::string &why) {
        return std::runtime_error(file.string() + ": the bitmap cannot be read (" + why + ")");
    };
    // The image is decoded from the very bytes that were checked.
    const std::vector<uint8_t> bytes = fs::readWholeFile(file);
    // Qt reads a BMP file cut short without an error, leaving the missing rows as whatever
    // the memory held, and makes the whole image the header asks for first.
    const std::optional<uint64_t> declared = BmpDeclaredLength(bytes);
    if (declared && *declared > bytes.size()) {
        throw cannotBeRead("the file ends after " + std::to_string(bytes.size()) + " bytes, its header declares "
                           + std::to_string(*declared));
    }
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char *>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(ReadLimitMegabytes);
    QImage image;
    if (!reader.read(&image))
        throw cannotBeRead(reader.errorString().toStdString());
    return std::make_unique<QtPicture>(std::move(image));
}

std::unique_ptr<Picture> QtPictureLoader::load(const std::filesystem::path &file) const
{
    return QtPicture::load(file);
}

} // namespace tamo
