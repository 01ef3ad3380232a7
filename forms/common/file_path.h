#pragma once

#include <QString>

#include <filesystem>

// File names as the user sees them (QString) and as the file system takes them.
std::filesystem::path FilePath(const QString &fileName);
QString FileNameText(const std::filesystem::path &path);
