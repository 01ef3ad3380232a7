#include "core/file_system.h"

#include "core/rom_error.h"

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/xattr.h>
#endif

namespace tamo::fs {
namespace {

std::string failure(const std::filesystem::path &path, const std::string &what, int error = 0)
{
    std::string text = path.string() + ": " + what;
    if (error != 0)
        text += " (" + std::string(std::strerror(error)) + ")";
    return text;
}

std::function<int(SaveStep)> &saveFaults()
{
    static std::function<int(SaveStep)> faults;
    return faults;
}

// A save's copy is named after the file: "game.smc.saving-" and six characters.
constexpr const char *copyInfix = ".saving-";
constexpr size_t copySuffixLength = 6;

#ifndef _WIN32

// Closes the descriptor when it goes out of scope.
class FileHandle
{
public:
    explicit FileHandle(int descriptor) : m_descriptor(descriptor) {}
    ~FileHandle() { closeNow(); }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    int get() const { return m_descriptor; }
    bool closeNow()
    {
        const bool ok = m_descriptor < 0 || ::close(m_descriptor) == 0;
        m_descriptor = -1;
        return ok;
    }

private:
    int m_descriptor;
};

// The error a test wants at this step of a save; 0 for none.
int injectedFault(SaveStep step)
{
    return saveFaults() ? saveFaults()(step) : 0;
}

// Whether a test makes this step fail; errno then says why.
bool stepFails(SaveStep step)
{
    const int fault = injectedFault(step);
    if (fault != 0)
        errno = fault;
    return fault != 0;
}

// Writes every byte from position 0, going on after short writes; errno tells why on false.
bool writeAll(int descriptor, std::span<const uint8_t> data, std::optional<SaveStep> step = std::nullopt)
{
    const int fault = step ? injectedFault(*step) : 0;
    const std::span<const uint8_t> through = fault != 0 ? data.first(data.size() / 2) : data;
    size_t done = 0;
    while (done < through.size()) {
        const ssize_t written = ::pwrite(descriptor, through.data() + done, through.size() - done, off_t(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<size_t>(written);
    }
    if (fault != 0)
        errno = fault;
    return fault == 0;
}

// Whether the file holds exactly contents. The pages just flushed are dropped first, where
// the system allows, so that the bytes come from the disk rather than from memory.
bool readsBack(int descriptor, std::span<const uint8_t> contents)
{
#ifdef POSIX_FADV_DONTNEED
    ::posix_fadvise(descriptor, 0, 0, POSIX_FADV_DONTNEED);
#endif
    // One byte more than expected tells a file that is too long.
    std::vector<uint8_t> read(contents.size() + 1);
    size_t done = 0;
    while (done < read.size()) {
        const ssize_t got = ::pread(descriptor, read.data() + done, read.size() - done, off_t(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    read.resize(done);
    if (injectedFault(SaveStep::ReadBack) != 0 && !read.empty())
        read[read.size() / 2] ^= 0xFF;
    return std::equal(read.begin(), read.end(), contents.begin(), contents.end());
}

void syncFolder(const std::filesystem::path &folder)
{
    FileHandle handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY));
    if (handle.get() >= 0)
        ::fsync(handle.get());
}

// A file being saved over: what the system says of it and the bytes it holds.
struct ExistingFile
{
    struct stat status;
    std::vector<uint8_t> bytes;
};

#ifdef __linux__

// The names of a file's extended attributes, listed by list(buffer, size); none when they
// cannot be listed.
template<typename List>
std::optional<std::vector<std::string>> attributeNames(List list)
{
    std::vector<std::string> names;
    const ssize_t size = list(nullptr, 0);
    if (size < 0)
        return errno == ENOTSUP ? std::optional(names) : std::nullopt;
    std::vector<char> buffer(static_cast<size_t>(size));
    const ssize_t listed = list(buffer.data(), buffer.size());
    if (listed < 0)
        return std::nullopt;
    for (const char *name = buffer.data(); name < buffer.data() + listed; name += std::strlen(name) + 1)
        names.emplace_back(name);
    return names;
}

// Gives the copy the extended attributes of the file (access lists, labels, the user's
// own), and none besides; false when any cannot be copied.
bool copyAttributes(const std::filesystem::path &from, int to)
{
    if (stepFails(SaveStep::KeepAttributes))
        return false;
    const auto wanted = attributeNames([&](char *list, size_t size) { return ::listxattr(from.c_str(), list, size); });
    const auto present = attributeNames([&](char *list, size_t size) { return ::flistxattr(to, list, size); });
    if (!wanted || !present)
        return false;
    // The folder may hand new files attributes of its own (a default access list).
    for (const std::string &name : *present) {
        if (std::find(wanted->begin(), wanted->end(), name) == wanted->end()
            && ::fremovexattr(to, name.c_str()) != 0)
            return false;
    }
    for (const std::string &name : *wanted) {
        const ssize_t size = ::getxattr(from.c_str(), name.c_str(), nullptr, 0);
        if (size < 0)
            return false;
        std::vector<char> value(static_cast<size_t>(size));
        const ssize_t got = ::getxattr(from.c_str(), name.c_str(), value.data(), value.size());
        if (got < 0 || ::fsetxattr(to, name.c_str(), value.data(), static_cast<size_t>(got), 0) != 0)
            return false;
    }
    return true;
}

#else

bool copyAttributes(const std::filesystem::path &, int)
{
    return !stepFails(SaveStep::KeepAttributes);
}

#endif

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Gives the copy what makes the file what it is besides its bytes; false when the system
// will not.
bool keepProperties(int copy, const std::filesystem::path &target, const ExistingFile *existing)
{
    if (!existing)
        return !stepFails(SaveStep::KeepMode) && ::fchmod(copy, newFileMode()) == 0;
    // The owner first: a change of owner clears the set-id bits that the mode then sets.
    return !stepFails(SaveStep::KeepOwner)
        && ::fchown(copy, existing->status.st_uid, existing->status.st_gid) == 0
        && !stepFails(SaveStep::KeepMode) && ::fchmod(copy, existing->status.st_mode & 07777) == 0
        && copyAttributes(target, copy);
}

// Removes the copy unless it was renamed over the file.
class CopyRemover
{
public:
    explicit CopyRemover(std::string path) : m_path(std::move(path)) {}
    ~CopyRemover()
    {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    CopyRemover(const CopyRemover &) = delete;
    CopyRemover &operator=(const CopyRemover &) = delete;
    void release() { m_path.clear(); }

private:
    std::string m_path;
};

// Writes contents into a new file beside target, gives it what target is besides its
// bytes, flushes and checks it, and renames it over target. Returns false, with the copy
// removed and target untouched, when any of that cannot be done; throws when the copy
// reads back differently from what was written.
bool replaceByCopy(const std::filesystem::path &target, std::span<const uint8_t> contents,
                   const ExistingFile *existing, Flush flush)
{
    std::string copy = target.string() + copyInfix + std::string(copySuffixLength, 'X');
    const int descriptor = stepFails(SaveStep::MakeCopy) ? -1 : ::mkstemp(copy.data());
    if (descriptor < 0)
        return false;
    FileHandle handle(descriptor);
    CopyRemover remover(copy);
    const bool flushNow = flush == Flush::BeforeReturn;
    if (!writeAll(descriptor, contents, SaveStep::WriteCopy) || !keepProperties(descriptor, target, existing)
        || (flushNow && (stepFails(SaveStep::FlushCopy) || ::fsync(descriptor) != 0)))
        return false;
    if (!readsBack(descriptor, contents))
        throw RomError(failure(target, "cannot be saved: the copy written beside it reads back differently"));
    if (!handle.closeNow() || stepFails(SaveStep::Rename) || ::rename(copy.c_str(), target.c_str()) != 0)
        return false;
    remover.release();
    if (flushNow)
        syncFolder(target.parent_path().empty() ? "." : target.parent_path());
    return true;
}

bool isSameFile(int descriptor, const struct stat &expected)
{
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 && status.st_dev == expected.st_dev && status.st_ino == expected.st_ino;
}

// Puts back the bytes the file held before a write in place failed part way.
bool putBack(int descriptor, const ExistingFile &existing)
{
    return writeAll(descriptor, existing.bytes) && ::ftruncate(descriptor, off_t(existing.bytes.size())) == 0
        && ::fsync(descriptor) == 0;
}

// Writes contents over target from position 0 and cuts it to their size. A write that
// fails part way puts the earlier bytes back (or removes the file it created).
void writeInPlace(const std::filesystem::path &target, std::span<const uint8_t> contents,
                  const ExistingFile *existing, Flush flush)
{
    const int flags = existing ? O_WRONLY : O_WRONLY | O_CREAT | O_EXCL;
    FileHandle handle(::open(target.c_str(), flags | O_CLOEXEC, 0666));
    if (handle.get() < 0)
        throw RomError(failure(target, "cannot be opened for writing", errno));
    if (existing && !isSameFile(handle.get(), existing->status))
        throw RomError(failure(target, "was replaced by another file while it was being saved"));
    if (writeAll(handle.get(), contents, SaveStep::WriteInPlace)
        && ::ftruncate(handle.get(), off_t(contents.size())) == 0
        && (flush == Flush::Later || ::fsync(handle.get()) == 0)) {
        FileHandle reader(::open(target.c_str(), O_RDONLY | O_CLOEXEC));
        if (reader.get() < 0 || !readsBack(reader.get(), contents))
            throw RomError(failure(target, "reads back differently from what was saved"));
        return;
    }
    const int error = errno;
    if (!existing) {
        handle.closeNow();
        ::unlink(target.c_str());
        throw RomError(failure(target, "cannot be written", error));
    }
    const bool restored = putBack(handle.get(), *existing);
    throw RomError(failure(target, "cannot be saved", error)
                   + (restored ? "; the file holds its earlier bytes again"
                               : "; its earlier bytes could not be put back"));
}

// The file gets contents; it keeps its inode where it has other names, which would go on
// showing the old bytes after a rename.
void saveContents(const std::filesystem::path &target, std::span<const uint8_t> contents,
                  const ExistingFile *existing, Flush flush = Flush::BeforeReturn)
{
    const bool keepInode = existing && existing->status.st_nlink > 1;
    if (keepInode || !replaceByCopy(target, contents, existing, flush))
        writeInPlace(target, contents, existing, flush);
}

// The file a symbolic link names, through any further links; a path that is no link as
// it is. The file need not exist.
std::filesystem::path linkTarget(std::filesystem::path path)
{
    std::error_code error;
    // As many links as the system itself follows.
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, error); ++hops) {
        const std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error)
            break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

int64_t nanoseconds(const struct timespec &time)
{
    return int64_t(time.tv_sec) * 1000000000 + time.tv_nsec;
}

// Why the file cannot be written to, or nothing when it can.
std::optional<std::string> writeRefusal(const std::filesystem::path &path, const struct stat &status)
{
    if (::access(path.c_str(), W_OK) != 0)
        return errno == EROFS ? "the file system is read-only" : "the file is write-protected";
    // Root passes access(); the missing write bits still mark the file as protected.
    if ((status.st_mode & 0222) == 0)
        return "the file is write-protected";
    return std::nullopt;
}

#endif

} // namespace

std::vector<uint8_t> readWholeFile(const std::filesystem::path &path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        throw RomError(failure(path, "does not exist"));
    // A path too long, a folder that may not be searched, ...: the system says what.
    if (error)
        throw RomError(failure(path, "cannot be opened", error.value()));
    if (!std::filesystem::is_regular_file(status))
        throw RomError(failure(path, "is not a file"));
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw RomError(failure(path, "cannot be opened", errno));
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > static_cast<uint64_t>(INT32_MAX))
        throw RomError(failure(path, "cannot be read whole"));
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char *>(bytes.data()), size))
        throw RomError(failure(path, "cannot be read"));
    return bytes;
}

#ifndef _WIN32

void overwriteFileStart(const std::filesystem::path &path, std::span<const uint8_t> data)
{
    std::error_code error;
    // Save through a symbolic link into the file it names.
    const std::filesystem::path target = std::filesystem::canonical(path, error);
    struct stat status {};
    if (error || ::stat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        throw RomError(failure(path, "the file does not exist any more"));
    if (const std::optional<std::string> refusal = writeRefusal(target, status))
        throw RomError(failure(path, *refusal));

    // Bytes of the file beyond the image stay as they are.
    const ExistingFile existing{status, readWholeFile(target)};
    std::vector<uint8_t> contents(data.begin(), data.end());
    if (existing.bytes.size() > data.size())
        contents.insert(contents.end(), existing.bytes.begin() + std::ptrdiff_t(data.size()), existing.bytes.end());
    saveContents(target, contents, &existing);
}

void writeWholeFile(const std::filesystem::path &path, std::span<const uint8_t> data, Flush flush)
{
    const std::filesystem::path target = linkTarget(path);
    struct stat status {};
    if (::stat(target.c_str(), &status) != 0) {
        saveContents(target, data, nullptr, flush);
        return;
    }
    if (!S_ISREG(status.st_mode))
        throw RomError(failure(path, "is not a file"));
    const ExistingFile existing{status, readWholeFile(target)};
    saveContents(target, data, &existing, flush);
}

void flushWrites(const std::filesystem::path &folder)
{
    FileHandle handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.get() < 0)
        throw RomError(failure(folder, "cannot be opened", errno));
#if defined(__linux__)
    // One flush of the file system is far quicker than one of each file written.
    if (::syncfs(handle.get()) != 0)
        throw RomError(failure(folder, "cannot be flushed to the disk", errno));
#else
    ::sync();
#endif
}

bool isWritableFolder(const std::filesystem::path &folder)
{
    struct stat status {};
    return ::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode)
        && ::access(folder.c_str(), W_OK | X_OK) == 0 && (status.st_mode & 0222) != 0;
}

std::optional<FileStamp> stampOf(const std::filesystem::path &path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return FileStamp{uint64_t(status.st_dev), uint64_t(status.st_ino), int64_t(status.st_size),
                     nanoseconds(status.st_mtim), nanoseconds(status.st_ctim)};
}

OwnFileRead readOwnFile(const std::filesystem::path &path, uint64_t limit)
{
    FileHandle handle(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (handle.get() < 0)
        return {errno != ENOENT && errno != ENOTDIR, std::nullopt, 0};
    struct stat status {};
    if (::fstat(handle.get(), &status) != 0 || !S_ISREG(status.st_mode) || uint64_t(status.st_size) > limit)
        return {true, std::nullopt, 0};
    // One byte more than the limit tells a file that grew since.
    std::vector<uint8_t> bytes(size_t(status.st_size) + 1);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(handle.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {true, std::nullopt, 0};
        if (got == 0)
            break;
        done += size_t(got);
    }
    if (done > limit)
        return {true, std::nullopt, 0};
    bytes.resize(done);
    return {true, std::move(bytes), nanoseconds(status.st_mtim)};
}

int64_t currentProcessId()
{
    return ::getpid();
}

bool processIsRunning(int64_t id)
{
    // A process of another user refuses the signal, and is running all the same.
    return id > 0 && id <= INT_MAX && (::kill(pid_t(id), 0) == 0 || errno == EPERM);
}

int64_t currentUserId()
{
    return ::getuid();
}

void makePrivateFolder(const std::filesystem::path &path)
{
    if (::mkdir(path.c_str(), 0700) == 0)
        return;
    if (errno != EEXIST)
        throw RomError(failure(path, "cannot be made", errno));
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        throw RomError(failure(path, "cannot be read", errno));
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::getuid() || (status.st_mode & 077) != 0)
        throw RomError(failure(path, "is not a folder of this user's alone"));
}

#else

void overwriteFileStart(const std::filesystem::path &path, std::span<const uint8_t> data)
{
    if (!std::filesystem::is_regular_file(path))
        throw RomError(failure(path, "the file does not exist any more"));
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!file || !file.write(reinterpret_cast<const char *>(data.data()), data.size()) || !file.flush())
        throw RomError(failure(path, "cannot be saved"));
}

void writeWholeFile(const std::filesystem::path &path, std::span<const uint8_t> data, Flush)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file || !file.write(reinterpret_cast<const char *>(data.data()), data.size()) || !file.flush())
        throw RomError(failure(path, "cannot be written"));
}

void flushWrites(const std::filesystem::path &)
{
}

bool isWritableFolder(const std::filesystem::path &folder)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder, error);
    return std::filesystem::is_directory(status)
        && (status.permissions() & std::filesystem::perms::owner_write) != std::filesystem::perms::none;
}

std::optional<FileStamp> stampOf(const std::filesystem::path &path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error)
        return std::nullopt;
    const int64_t ns = std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
    return FileStamp{0, 0, int64_t(size), ns, ns};
}

OwnFileRead readOwnFile(const std::filesystem::path &path, uint64_t limit)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return {};
    const std::optional<FileStamp> stamp = stampOf(path);
    if (!std::filesystem::is_regular_file(status) || !stamp || uint64_t(stamp->size) > limit)
        return {true, std::nullopt, 0};
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes(size_t(stamp->size));
    if (!file.read(reinterpret_cast<char *>(bytes.data()), std::streamsize(bytes.size())))
        return {true, std::nullopt, 0};
    return {true, std::move(bytes), stamp->modifiedNs};
}

int64_t currentProcessId()
{
    return 0;
}

// Without a way to ask, every process counts as running, and nothing of it is removed.
bool processIsRunning(int64_t)
{
    return true;
}

int64_t currentUserId()
{
    return 0;
}

void makePrivateFolder(const std::filesystem::path &path)
{
    std::error_code error;
    std::filesystem::create_directory(path, error);
    if (error || !std::filesystem::is_directory(path))
        throw RomError(failure(path, "cannot be made"));
}

#endif

std::vector<std::filesystem::path> removeStaleSaveCopies(const std::filesystem::path &file)
{
    std::error_code error;
    // Saves write their copies beside the file that links lead to.
    const std::filesystem::path target = std::filesystem::canonical(file, error);
    if (error)
        return {};
    const std::string prefix = target.filename().string() + copyInfix;
    std::vector<std::filesystem::path> left;
    for (std::filesystem::directory_iterator entry(target.parent_path(), error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::error_code ignored;
        if (name.size() != prefix.size() + copySuffixLength || !name.starts_with(prefix)
            || entry->is_symlink(ignored) || !entry->is_regular_file(ignored))
            continue;
        if (!std::filesystem::remove(entry->path(), ignored))
            left.push_back(entry->path());
    }
    return left;
}

void SetSaveFaults(std::function<int(SaveStep)> faults)
{
    saveFaults() = std::move(faults);
}

} // namespace tamo::fs
