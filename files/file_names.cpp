#include "files/file_names.h"

#include <system_error>
#include <type_traits>

namespace tamo {

namespace {

constexpr bool PathsAreBytes = std::is_same_v<std::filesystem::path::value_type, char>;
constexpr char16_t EscapedByteBase = 0xDC00;

// Length of the well-formed UTF-8 sequence that starts at bytes[at], or 0 when none does
// (a stray continuation byte, an overlong form, a surrogate, a cut sequence).
size_t utf8SequenceLength(std::string_view bytes, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    // The range the second byte must lie in; the later bytes are 0x80-0xBF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (bytes.size() - at < length || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

bool isEscapedByte(const QString &text, qsizetype at)
{
    const char16_t unit = text[at].unicode();
    // A low surrogate after a high one is half of a character, not a byte.
    return unit >= EscapedByteBase + 0x80 && unit <= EscapedByteBase + 0xFF
        && (at == 0 || !text[at - 1].isHighSurrogate());
}

} // namespace

QString textFromBytes(std::string_view bytes)
{
    QString text;
    size_t runStart = 0;
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t length = utf8SequenceLength(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        text += QString::fromUtf8(bytes.data() + runStart, qsizetype(at - runStart));
        text += QChar(char16_t(EscapedByteBase + static_cast<unsigned char>(bytes[at])));
        runStart = ++at;
    }
    text += QString::fromUtf8(bytes.data() + runStart, qsizetype(at - runStart));
    return text;
}

QByteArray bytesFromText(const QString &text)
{
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (!isEscapedByte(text, at))
            continue;
        bytes += QStringView(text).mid(runStart, at - runStart).toUtf8();
        bytes += char(text[at].unicode() - EscapedByteBase);
        runStart = at + 1;
    }
    bytes += QStringView(text).mid(runStart).toUtf8();
    return bytes;
}

QString fileNameText(const std::filesystem::path &path)
{
    if constexpr (PathsAreBytes)
        return textFromBytes(path.native());
    else
        return QString::fromStdU16String(path.u16string());
}

std::filesystem::path filePath(const QString &text)
{
    if constexpr (PathsAreBytes)
        return std::filesystem::path(bytesFromText(text).toStdString());
    else
        return std::filesystem::path(text.toStdU16String());
}

QStringList programArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        if constexpr (PathsAreBytes)
            arguments.append(textFromBytes(argv[i]));
        else
            arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

QString absoluteFileName(const QString &name)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(filePath(name), error);
    return error ? name : fileNameText(absolute);
}

} // namespace tamo
