#pragma once

#include <QLockFile>

#include <cstdint>
#include <filesystem>
#include <optional>

// The lock of a recovery journal, a file beside it ("<journal>.lock"). The editor that
// writes the journal holds it for as long as it has the ROM file open, so that no other
// editor offers, restores or removes the journal meanwhile. A lock left by a process that
// has ended is taken over, as QLockFile does; its age alone never makes it stale, as an
// editor may keep a file open for days.
class JournalLock
{
public:
    explicit JournalLock(const std::filesystem::path &journal);

    // Takes the lock at once or not at all; released when the object goes.
    bool tryTake();
    bool isLocked() const { return m_lock.isLocked(); }
    // After tryTake failed: whether a running process holds the lock (rather than it
    // being impossible to make, in a folder that may not be written).
    bool heldByAnother() const { return m_lock.error() == QLockFile::LockFailedError; }
    // The process id of the lock's holder, as its lock file names it; 0 when it names none.
    int64_t holder() const;

private:
    QLockFile m_lock;
};

// The id of the running process that holds the journal's lock; none when none does. A
// lock left by a process that has ended is removed on the way.
std::optional<int64_t> RunningHolder(const std::filesystem::path &journal);
