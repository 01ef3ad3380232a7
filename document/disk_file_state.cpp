#include "document/disk_file_state.h"

#include "core/rom_error.h"

#include <QCryptographicHash>

QByteArray ContentHash(std::span<const uint8_t> bytes)
{
    return QCryptographicHash::hash(QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                                    QCryptographicHash::Sha256);
}

void DiskFileState::remember(std::optional<tamo::fs::FileStamp> stamp, QByteArray hash)
{
    m_stamp = stamp;
    m_hash = std::move(hash);
    m_lastToldOf.reset();
}

DiskFileState::Check DiskFileState::check(const std::filesystem::path &path, bool thorough)
{
    const std::optional<tamo::fs::FileStamp> stamp = tamo::fs::stampOf(path);
    if (!stamp)
        return {true, false, false};
    Check result;
    result.otherFile = !m_stamp || !stamp->isSameFile(*m_stamp);
    if (!result.otherFile && *stamp == *m_stamp && !thorough)
        return result;
    try {
        result.otherBytes = ContentHash(tamo::fs::readWholeFile(path)) != m_hash;
    } catch (const tamo::RomError &) {
        // Bytes that cannot be read are not known to be the same.
        result.otherBytes = true;
    }
    // Only touched: the stamp need not make anyone read the bytes again.
    if (!result.otherFile && !result.otherBytes)
        m_stamp = stamp;
    return result;
}

bool DiskFileState::hasNewChange(const std::filesystem::path &path)
{
    const std::optional<tamo::fs::FileStamp> stamp = tamo::fs::stampOf(path);
    if (!stamp || stamp == m_stamp || stamp == m_lastToldOf)
        return false;
    m_lastToldOf = stamp;
    return check(path, false).otherBytes;
}
