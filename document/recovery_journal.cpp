#include "document/recovery_journal.h"

#include "core/count_text.h"
#include "core/file_system.h"
#include "core/rom_difference.h"
#include "core/rom_error.h"
#include "files/file_key.h"
#include "document/rom_document.h"
#include "files/file_names.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QUndoStack>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

namespace {

constexpr const char *writeText = "unsaved edit";
constexpr const char *journalSuffix = ".journal";
constexpr const char *lockSuffix = ".lock";
// Journals "<file key>.2.journal" up to "<file key>.999.journal": as many editors as anyone
// opens one file in, and never a file key's own digits.
constexpr int lastSlot = 999;

// The SHA-256 of everything else the journal holds, so that a journal changed by a single
// byte that still reads is told from the one written.
QString checkOf(const QString &rom, const QString &hash, double size, int steps, const tamo::RomPatch &patch)
{
    QCryptographicHash check(QCryptographicHash::Sha256);
    for (const QByteArray &part : {rom.toUtf8(), hash.toLatin1(), QByteArray::number(size, 'f', 0),
                                   QByteArray::number(steps)}) {
        check.addData(QByteArray::number(part.size()) + ':');
        check.addData(part);
    }
    for (const tamo::RomWrite &write : patch.writes()) {
        check.addData(QByteArray::number(qint64(write.offset)) + ':' + QByteArray::number(qint64(write.bytes.size()))
                      + ':');
        check.addData(QByteArrayView(reinterpret_cast<const char *>(write.bytes.data()), qsizetype(write.bytes.size())));
    }
    return QString::fromLatin1(check.result().toHex());
}

QJsonObject journalOf(const QString &rom, const QByteArray &hash, int64_t size, int steps,
                      const tamo::RomPatch &patch)
{
    QJsonArray writes;
    for (const tamo::RomWrite &write : patch.writes()) {
        const QByteArray bytes(reinterpret_cast<const char *>(write.bytes.data()), qsizetype(write.bytes.size()));
        writes.append(QJsonObject{{QStringLiteral("offset"), double(write.offset)},
                                  {QStringLiteral("bytes"), QString::fromLatin1(bytes.toBase64())}});
    }
    const QString hashText = QString::fromLatin1(hash.toHex());
    return QJsonObject{{QStringLiteral("rom"), rom},
                       {QStringLiteral("sha256"), hashText},
                       {QStringLiteral("size"), double(size)},
                       {QStringLiteral("steps"), steps},
                       {QStringLiteral("writes"), writes},
                       {QStringLiteral("check"), checkOf(rom, hashText, double(size), steps, patch)}};
}

// The most journalOf can write for an image of romSize bytes and a file key of keyLength
// UTF-16 units. The writes of a difference patch lie PatchJoinGap unchanged bytes apart
// or more, so there are at most (romSize + PatchJoinGap) / (PatchJoinGap + 1) of them;
// base64 turns 3 bytes into 4 characters and pads each write by at most 3 more; a write
// adds {"bytes":"","offset":}, and a comma (23 characters) and an offset of at most 24.
// The rest is the six names, two SHA-256 in hexadecimal, two numbers, and the key with
// each unit escaped as \uXXXX at worst.
uint64_t largestJournalFor(int64_t romSize, qsizetype keyLength)
{
    const uint64_t size = uint64_t(std::max<int64_t>(romSize, 0));
    const uint64_t writes = (size + tamo::PatchJoinGap) / (tamo::PatchJoinGap + 1);
    constexpr uint64_t perWrite = 23 + 24 + 3;
    constexpr uint64_t frame = 256;
    return frame + 6 * uint64_t(keyLength) + writes * perWrite + (4 * size + 2) / 3;
}

// The patch the journal holds; none when anything in it is not as written.
std::optional<tamo::RomPatch> patchOf(const QJsonValue &writes)
{
    if (!writes.isArray())
        return std::nullopt;
    tamo::RomPatch patch;
    for (const QJsonValue &value : writes.toArray()) {
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

// What one journal file holds for the document's image.
struct JournalReading
{
    bool exists = false;
    std::optional<FoundJournal> found;
    KeptJournal kept;  // why it is not found, where it exists
};

JournalReading readJournal(const RomDocument &document, const std::filesystem::path &file, uint64_t limit)
{
    const tamo::fs::OwnFileRead read = tamo::fs::readOwnFile(file, limit);
    JournalReading reading{read.found, std::nullopt, KeptJournal{file, true, 0}};
    if (!read.bytes)
        return reading;
    const QJsonDocument json = QJsonDocument::fromJson(
        QByteArray::fromRawData(reinterpret_cast<const char *>(read.bytes->data()), qsizetype(read.bytes->size())));
    const QJsonObject journal = json.object();
    const QJsonValue steps = journal.value(QStringLiteral("steps"));
    const QJsonValue rom = journal.value(QStringLiteral("rom"));
    const QJsonValue hash = journal.value(QStringLiteral("sha256"));
    const QJsonValue size = journal.value(QStringLiteral("size"));
    std::optional<tamo::RomPatch> patch = patchOf(journal.value(QStringLiteral("writes")));
    if (!steps.isDouble() || steps.toDouble() < 0 || steps.toDouble() != double(steps.toInt()) || !patch
        || !rom.isString() || !hash.isString() || !size.isDouble()
        || journal.value(QStringLiteral("check")).toString()
               != checkOf(rom.toString(), hash.toString(), size.toDouble(), steps.toInt(), *patch))
        return reading;
    const bool sameBytes = rom.toString() == FileKey(document.fileName())
        && hash.toString() == QString::fromLatin1(document.savedHash().toHex())
        && size.toDouble() == double(document.image().size());
    if (!sameBytes) {
        reading.kept = KeptJournal{file, false, steps.toInt()};
        return reading;
    }
    try {
        // Writes outside the very bytes it was made for: not a journal this program wrote.
        patch->requireInside(document.image());
    } catch (const tamo::RomRangeError &) {
        return reading;
    }
    reading.found = FoundJournal{file, read.modifiedNs, UnsavedWork{steps.toInt(), std::move(*patch)}};
    return reading;
}

// Kept for whoever wants to look at it; never applied, and never found here again.
KeptJournal setAside(KeptJournal kept)
{
    const std::filesystem::path aside = kept.file.string() + '.'
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmsszzz")).toStdString() + "Z.kept";
    std::error_code error;
    // Whatever the name holds (a file, a link, a folder), the name is what moves.
    std::filesystem::rename(kept.file, aside, error);
    if (!error)
        kept.file = aside;
    return kept;
}

// The journal number of a name in the recovery folder: 1 for "<key>.journal", n for
// "<key>.<n>.journal", each also with ".lock" after it; 0 for any other name.
int slotOfName(const QString &name, const QString &keyName)
{
    QString rest = name;
    if (rest.endsWith(QLatin1String(lockSuffix)))
        rest.chop(qsizetype(std::strlen(lockSuffix)));
    if (!rest.startsWith(keyName) || !rest.endsWith(QLatin1String(journalSuffix)))
        return 0;
    rest = rest.mid(keyName.size(), rest.size() - keyName.size() - qsizetype(std::strlen(journalSuffix)));
    if (rest.isEmpty())
        return 1;
    bool number = false;
    const int slot = rest.startsWith(QLatin1Char('.')) && rest.size() <= 4 ? rest.mid(1).toInt(&number) : 0;
    return number && slot >= 2 ? slot : 0;
}

std::filesystem::path slotPath(const std::filesystem::path &folder, const QString &keyName, int slot)
{
    const QString number = slot == 1 ? QString() : QStringLiteral(".%1").arg(slot);
    return folder / tamo::filePath(keyName + number + QLatin1String(journalSuffix));
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
    connect(&m_document, &RomDocument::imageReplaced, this, &RecoveryJournal::fileOpened);
}

RecoveryJournal::~RecoveryJournal() = default;

void RecoveryJournal::fileOpened()
{
    const QString keyName = FileKeyName(m_document.fileName());
    if (m_lock && keyName == m_keyName)
        return;
    m_lock.reset();
    m_keyName = keyName;
    QDir().mkpath(tamo::fileNameText(m_folder));
    for (int slot = 1; slot <= lastSlot; ++slot) {
        const std::filesystem::path journal = slotPath(m_folder, m_keyName, slot);
        auto lock = std::make_unique<JournalLock>(journal);
        std::error_code error;
        // A journal an ended session left stays as it is, to be offered: this session's
        // own starts empty.
        if (lock->tryTake() && !std::filesystem::exists(std::filesystem::symlink_status(journal, error))) {
            m_path = journal;
            m_lock = std::move(lock);
            return;
        }
        if (!lock->isLocked() && !lock->heldByAnother())
            break;
    }
    // No lock can be made in this folder: the first journal, unguarded, whose writing then
    // reports what fails.
    m_path = slotPath(m_folder, m_keyName, 1);
}

std::vector<std::filesystem::path> RecoveryJournal::journalsOf(const QString &romFileName) const
{
    const QString keyName = FileKeyName(romFileName);
    std::map<int, std::filesystem::path> found;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(m_folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (const int slot = slotOfName(tamo::fileNameText(entry->path().filename()), keyName))
            found.emplace(slot, slotPath(m_folder, keyName, slot));
    }
    std::vector<std::filesystem::path> journals;
    for (const auto &[slot, path] : found)
        journals.push_back(path);
    return journals;
}

std::optional<int64_t> RecoveryJournal::otherEditor(const QString &romFileName) const
{
    for (const std::filesystem::path &journal : journalsOf(romFileName)) {
        if (journal == m_path)
            continue;
        if (const std::optional<int64_t> holder = RunningHolder(journal))
            return holder;
    }
    return std::nullopt;
}

uint64_t RecoveryJournal::largestJournal() const
{
    return largestJournalFor(m_document.image().size(), FileKey(m_document.fileName()).size());
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
    write();
}

bool RecoveryJournal::write()
{
    if (m_path.empty())
        return false;
    if (!m_document.isModified()) {
        discard();
        return true;
    }
    const tamo::RomPatch patch
        = tamo::DifferencePatch(m_document.savedBytes(), m_document.image().bytes(), writeText);
    const QJsonObject journal = journalOf(FileKey(m_document.fileName()), m_document.savedHash(),
                                          m_document.image().size(), m_document.unsavedSteps(), patch);
    QSaveFile file(tamo::fileNameText(m_path));
    const bool written = QDir().mkpath(tamo::fileNameText(m_folder)) && file.open(QIODevice::WriteOnly)
        && file.write(QJsonDocument(journal).toJson(QJsonDocument::Compact)) >= 0 && file.commit();
    if (written) {
        m_failureTold = false;
    } else if (!m_failureTold) {
        m_failureTold = true;
        emit writeFailed(QStringLiteral("The unsaved edits cannot be kept in %1 (%2); they would be lost in a crash.")
                             .arg(tamo::fileNameText(m_path), file.errorString()));
    }
    return written;
}

void RecoveryJournal::discard()
{
    m_timer.stop();
    if (!m_path.empty())
        QFile::remove(tamo::fileNameText(m_path));
}

void RecoveryJournal::discard(const FoundJournal &journal)
{
    QFile::remove(tamo::fileNameText(journal.file));
}

JournalLookup RecoveryJournal::lookUp()
{
    JournalLookup lookup;
    for (const std::filesystem::path &file : journalsOf(m_document.fileName())) {
        // The journal of a running editor is that editor's own.
        if (file != m_path && RunningHolder(file))
            continue;
        JournalReading reading = readJournal(m_document, file, largestJournal());
        if (reading.found)
            lookup.found.push_back(std::move(*reading.found));
        else if (reading.exists)
            lookup.keptAside.push_back(setAside(reading.kept));
    }
    std::stable_sort(lookup.found.begin(), lookup.found.end(),
                     [](const FoundJournal &a, const FoundJournal &b) { return a.writtenNs > b.writtenNs; });
    return lookup;
}

void RecoveryJournal::restore(const FoundJournal &journal, int32_t level)
{
    const int steps = journal.work.steps;
    const QString text = QString::fromStdString("Recovered " + tamo::CountText(steps, "edit"));
    if (!m_document.edit(RomEdit{text, EditScope::WholeImage, level, journal.work.patch, 0, steps})) {
        discard(journal);
        return;
    }
    // The edits are in this session's journal before the one they came from goes.
    if (write() && journal.file != m_path)
        discard(journal);
}
