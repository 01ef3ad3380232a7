#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <vector>

// One restore point: the ROM file's bytes as they were before a save.
struct RestorePoint
{
    std::filesystem::path file;
    QDateTime madeAt; // in UTC
    int64_t size = 0;
};

// The restore points of one ROM file, kept in a folder of their own under the backups
// folder (named by FileKeyName, as files of one name in two folders are two files), one
// file per save named by the time of the save in UTC ("2024-05-01T13-45-07.123Z.smc"), so
// that names sort as times do. Only the newest `keep` are kept; 0 keeps none.
class RestorePoints
{
public:
    RestorePoints(const std::filesystem::path &backupsFolder, const std::filesystem::path &romFile, int keep);

    // Keeps the ROM file's present bytes as the newest restore point, before a save
    // overwrites them, and removes the oldest beyond the number kept. Nothing is kept when
    // keeping is off, when the file is not there (the save then fails on its own) or when
    // the newest restore point holds the same bytes. Throws RomError when the restore point
    // cannot be written: the save must not go on then.
    void keepBeforeSave(const QDateTime &now = QDateTime::currentDateTimeUtc()) const;

    // Newest first.
    std::vector<RestorePoint> list() const;

private:
    std::filesystem::path pathFor(const QDateTime &time) const;
    void removeBeyondKept() const;

    std::filesystem::path m_folder;
    std::filesystem::path m_romFile;
    int m_keep;
};
