#include "document/journal_lock.h"

#include "files/file_names.h"

JournalLock::JournalLock(const std::filesystem::path &journal)
    : m_lock(tamo::fileNameText(journal) + QStringLiteral(".lock"))
{
    m_lock.setStaleLockTime(0);
}

bool JournalLock::tryTake()
{
    return m_lock.tryLock(0);
}

int64_t JournalLock::holder() const
{
    qint64 pid = 0;
    return m_lock.getLockInfo(&pid, nullptr, nullptr) ? pid : 0;
}

std::optional<int64_t> RunningHolder(const std::filesystem::path &journal)
{
    JournalLock lock(journal);
    if (lock.tryTake() || !lock.heldByAnother())
        return std::nullopt;
    return lock.holder();
}
