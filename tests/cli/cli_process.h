#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>
#include <vector>

// One run of the tamo-cli program.
struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QJsonDocument json() const;
    // The error report: exactly one line on stderr.
    bool oneErrorLine() const;
};

CliRun runTamoCli(const QStringList &arguments);

std::vector<uint8_t> fileBytes(const std::filesystem::path &path);
QString qPath(const std::filesystem::path &path);
