#include "document/restore_points.h"

#include "core/file_system.h"
#include "core/rom_error.h"
#include "files/file_key.h"
#include "files/file_names.h"

#include <QTimeZone>

#include <algorithm>

namespace {

const QString dateFormat = QStringLiteral("yyyy-MM-dd");
const QString timeFormat = QStringLiteral("HH-mm-ss.zzz");

// The time a restore point's name gives ("2024-05-01T13-45-07.123"), in UTC.
QDateTime timeOfName(const QString &name)
{
    const QStringList parts = name.split(QLatin1Char('T'));
    if (parts.size() != 2)
        return {};
    return QDateTime(QDate::fromString(parts[0], dateFormat), QTime::fromString(parts[1], timeFormat),
                     QTimeZone::utc());
}

std::vector<uint8_t> bytesOf(const std::filesystem::path &file)
{
    try {
        return tamo::fs::readWholeFile(file);
    } catch (const tamo::RomError &) {
        return {};
    }
}

} // namespace

RestorePoints::RestorePoints(const std::filesystem::path &backupsFolder, const std::filesystem::path &romFile,
                             int keep)
    : m_folder(backupsFolder / tamo::filePath(FileKeyName(tamo::fileNameText(romFile))))
    , m_romFile(romFile)
    , m_keep(std::max(keep, 0))
{
}

std::filesystem::path RestorePoints::pathFor(const QDateTime &time) const
{
    const QDateTime utc = time.toUTC();
    return m_folder / tamo::filePath(utc.date().toString(dateFormat) + QLatin1Char('T') + utc.time().toString(timeFormat)
                               + QLatin1Char('Z') + tamo::fileNameText(m_romFile.extension()));
}

void RestorePoints::keepBeforeSave(const QDateTime &now) const
{
    std::error_code error;
    if (m_keep == 0 || !std::filesystem::is_regular_file(m_romFile, error))
        return;
    const std::vector<uint8_t> bytes = tamo::fs::readWholeFile(m_romFile);
    const std::vector<RestorePoint> points = list();
    if (!points.empty() && points.front().size == int64_t(bytes.size()) && bytesOf(points.front().file) == bytes)
        return;
    // Two saves within a millisecond still get a name each, in the order they were made.
    QDateTime time = now;
    while (std::filesystem::exists(pathFor(time), error))
        time = time.addMSecs(1);
    try {
        std::filesystem::create_directories(m_folder);
        tamo::fs::writeWholeFile(pathFor(time), bytes);
    } catch (const std::exception &cause) {
        throw tamo::RomError("The restore point of " + m_romFile.string() + " cannot be written, so the file was not saved: "
                             + cause.what());
    }
    removeBeyondKept();
}

std::vector<RestorePoint> RestorePoints::list() const
{
    std::vector<RestorePoint> points;
    std::error_code error;
    const QString extension = tamo::fileNameText(m_romFile.extension());
    for (std::filesystem::directory_iterator entry(m_folder, error), end; !error && entry != end; entry.increment(error)) {
        QString name = tamo::fileNameText(entry->path().filename());
        if (!name.endsWith(QLatin1Char('Z') + extension))
            continue;
        name.chop(extension.size() + 1);
        const QDateTime time = timeOfName(name);
        std::error_code sizeError;
        const auto size = std::filesystem::file_size(entry->path(), sizeError);
        if (time.isValid() && !sizeError)
            points.push_back({entry->path(), time, int64_t(size)});
    }
    std::sort(points.begin(), points.end(),
              [](const RestorePoint &a, const RestorePoint &b) { return a.madeAt > b.madeAt; });
    return points;
}

void RestorePoints::removeBeyondKept() const
{
    const std::vector<RestorePoint> points = list();
    for (size_t i = size_t(m_keep); i < points.size(); ++i) {
        // One left over is only one more than asked for; the save goes on.
        std::error_code ignored;
        std::filesystem::remove(points[i].file, ignored);
    }
}
