#include "document/recovery_journal.h"

#include "core/rom_difference.h"
#include "core/rom_error.h"
#include "files/file_key.h"
#include "document/rom_document.h"
#include "files/file_names.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QUndoStack>

#include <cmath>

namespace {

constexpr const char *writeText = "unsaved edit";

QJsonObject journalOf(const QString &rom, const QByteArray &hash, int64_t size, int steps,
                      const tamo::RomPatch &patch)
{
    QJsonArray writes;
    for (const tamo::RomWrite &write : patch.writes()) {
        const QByteArray bytes(reinterpret_cast<const char *>(write.bytes.data()), qsizetype(write.bytes.size()));
        writes.append(QJsonObject{{QStringLiteral("offset"), double(write.offset)},
                                  {QStringLiteral("bytes"), QString::fromLatin1(bytes.toBase64())}});
    }
    return QJsonObject{{QStringLiteral("rom"), rom},
                       {QStringLiteral("sha256"), QString::fromLatin1(hash.toHex())},
                       {QStringLiteral("size"), double(size)},
                       {QStringLiteral("steps"), steps},
                       {QStringLiteral("writes"), writes}};
}

// The patch the journal holds; none when anything in it is not as written.
std::optional<tamo::RomPatch> patchOf(const QJsonArray &writes)
{
    tamo::RomPatch patch;
    for (const QJsonValue &value : writes) {
        const QJsonObject write = value.toObject();
        const double offset = write.value(QStringLiteral("offset")).toDouble(-1);
        const QByteArray bytes = QByteArray::fromBase64Encoding(
            write.value(QStringLiteral("bytes")).toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors).decoded;
        if (offset < 0 || offset != std::floor(offset) || bytes.isEmpty())
            return std::nullopt;
        patch.write(int64_t(offset), std::span(reinterpret_cast<const uint8_t *>(bytes.data()), size_t(bytes.size())),
                    writeText);
    }
    return patch;
}

} // namespace

RecoveryJournal::RecoveryJournal(RomDocument &document, std::filesystem::path folder, int delayMs, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_folder(std::move(folder))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryJournal::writeNow);
    connect(&m_document, &RomDocument::changed, this, &RecoveryJournal::changed);
    connect(m_document.history(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (clean)
            writeNow();
    });
    connect(&m_document, &RomDocument::imageReplaced, &m_timer, &QTimer::stop);
}

std::filesystem::path RecoveryJournal::pathFor(const QString &romFileName) const
{
    return m_folder / tamo::filePath(FileKeyName(romFileName) + QStringLiteral(".journal"));
}

void RecoveryJournal::changed()
{
    // Not restarted by every change: a long stroke still gets its journal in time.
    if (!m_timer.isActive())
        m_timer.start();
}

void RecoveryJournal::writeNow()
{
    m_timer.stop();
    if (m_document.fileName().isEmpty())
        return;
    if (!m_document.isModified()) {
        removeFile();
        return;
    }
    const std::filesystem::path path = pathFor(m_document.fileName());
    const tamo::RomPatch patch
        = tamo::DifferencePatch(m_document.savedBytes(), m_document.image().bytes(), writeText);
    const QJsonObject journal = journalOf(FileKey(m_document.fileName()), m_document.savedHash(),
                                          m_document.image().size(), m_document.unsavedSteps(), patch);
    QSaveFile file(tamo::fileNameText(path));
    const bool written = QDir().mkpath(tamo::fileNameText(m_folder)) && file.open(QIODevice::WriteOnly)
        && file.write(QJsonDocument(journal).toJson(QJsonDocument::Compact)) >= 0 && file.commit();
    if (written) {
        m_failureTold = false;
    } else if (!m_failureTold) {
        m_failureTold = true;
        emit writeFailed(QStringLiteral("The unsaved edits cannot be kept in %1 (%2); they would be lost in a crash.")
                             .arg(tamo::fileNameText(path), file.errorString()));
    }
}

void RecoveryJournal::discard()
{
    m_timer.stop();
    removeFile();
}

void RecoveryJournal::removeFile()
{
    if (!m_document.fileName().isEmpty())
        QFile::remove(tamo::fileNameText(pathFor(m_document.fileName())));
}

JournalLookup RecoveryJournal::lookUp()
{
    const QString path = tamo::fileNameText(pathFor(m_document.fileName()));
    QFile file(path);
    if (!file.exists())
        return {};
    const QJsonObject journal = file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                                               : QJsonObject();
    file.close();
    const int steps = journal.value(QStringLiteral("steps")).toInt();
    const bool sameBytes = journal.value(QStringLiteral("rom")).toString() == FileKey(m_document.fileName())
        && journal.value(QStringLiteral("sha256")).toString() == QString::fromLatin1(m_document.savedHash().toHex())
        && journal.value(QStringLiteral("size")).toDouble() == double(m_document.image().size());
    std::optional<tamo::RomPatch> patch = patchOf(journal.value(QStringLiteral("writes")).toArray());
    if (sameBytes && patch) {
        try {
            patch->requireInside(m_document.image());
            return {UnsavedWork{steps, std::move(*patch)}, {}, 0};
        } catch (const tamo::RomRangeError &) {
        }
    }
    // Kept for whoever wants to look at it; never applied, and never found here again.
    const QString aside = path + QLatin1Char('.')
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz")) + QStringLiteral("Z.kept");
    if (!QFile::rename(path, aside))
        return {std::nullopt, tamo::filePath(path), steps};
    return {std::nullopt, tamo::filePath(aside), steps};
}

void RecoveryJournal::restore(const UnsavedWork &work, int32_t level)
{
    const QString text = work.steps == 1 ? QStringLiteral("Recovered 1 edit")
                                         : QStringLiteral("Recovered %1 edits").arg(work.steps);
    if (!m_document.edit(RomEdit{text, EditScope::WholeImage, level, work.patch, 0, work.steps}))
        removeFile();
}
