#include "forms/common/file_path.h"

std::filesystem::path FilePath(const QString &fileName)
{
    return std::filesystem::path(fileName.toStdU16String());
}

QString FileNameText(const std::filesystem::path &path)
{
    return QString::fromStdU16String(path.u16string());
}
