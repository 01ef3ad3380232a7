#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string_view>

namespace tamo {

// File names between Qt texts and the file system. On POSIX systems a file name is a
// string of bytes that need not be UTF-8, and Qt (QFile::decodeName, the program's
// arguments) turns every byte that is not UTF-8 into U+FFFD, after which the name names no
// file. These texts keep each such byte as the lone surrogate 0xDC00 + byte instead, so
// that they turn back into the very same bytes; everything else is plain UTF-8.
QString textFromBytes(std::string_view bytes);
QByteArray bytesFromText(const QString &text);

QString fileNameText(const std::filesystem::path &path);
std::filesystem::path filePath(const QString &text);

// The command-line arguments as such texts.
QStringList programArguments(int argc, char **argv);

// The name made absolute against the current folder, its bytes kept (QFileInfo makes a
// relative name absolute through Qt's own decoding).
QString absoluteFileName(const QString &name);

} // namespace tamo
