#include "core/file_system.h"

#include "core/rom_error.h"

#include <cerrno>
#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

// Writes every byte, going on after short writes; errno tells why on false.
bool writeAll(int descriptor, std::span<const uint8_t> data)
{
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(descriptor, data.data() + done, data.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

void syncFolder(const std::filesystem::path &folder)
{
    FileHandle handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY));
    if (handle.get() >= 0)
        ::fsync(handle.get());
}

// Writes the parts one after another into a new file beside target, flushes it and
// renames it over target. Returns false, with nothing changed, when the folder takes no
// new file; throws for every other failure, leaving target as it was.
bool replaceByCopy(const std::filesystem::path &target, std::span<const uint8_t> head,
                   std::span<const uint8_t> tail, mode_t mode, const struct stat *owner)
{
    std::string pattern = target.string() + ".saving-XXXXXX";
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) {
        if (errno == EACCES || errno == EPERM || errno == EROFS)
            return false;
        throw RomError(failure(target, "cannot write a new copy beside the file", errno));
    }
    FileHandle handle(descriptor);
    const std::filesystem::path copy = pattern;
    const auto giveUp = [&](const char *what) {
        const int error = errno;
        handle.closeNow();
        ::unlink(copy.c_str());
        throw RomError(failure(target, what, error));
    };
    if (!writeAll(descriptor, head) || !writeAll(descriptor, tail))
        giveUp("cannot be saved");
    if (owner && ::fchown(descriptor, owner->st_uid, owner->st_gid) != 0) {
        // Keeping the owner needs privileges we may not have; the copy stays ours.
    }
    if (::fchmod(descriptor, mode) != 0)
        giveUp("cannot keep the file's permissions");
    if (::fsync(descriptor) != 0)
        giveUp("cannot be flushed to disk");
    if (!handle.closeNow())
        giveUp("cannot be saved");
    if (::rename(copy.c_str(), target.c_str()) != 0)
        giveUp("cannot be replaced by the saved copy");
    syncFolder(target.parent_path().empty() ? "." : target.parent_path());
    return true;
}

void writeInPlace(const std::filesystem::path &target, std::span<const uint8_t> data, int flags)
{
    FileHandle handle(::open(target.c_str(), O_WRONLY | flags, 0666));
    if (handle.get() < 0)
        throw RomError(failure(target, "cannot be opened for writing", errno));
    if (!writeAll(handle.get(), data) || ::fsync(handle.get()) != 0 || !handle.closeNow())
        throw RomError(failure(target, "cannot be saved", errno));
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
    std::vector<uint8_t> tail;
    if (static_cast<uint64_t>(status.st_size) > data.size()) {
        const std::vector<uint8_t> current = readWholeFile(target);
        tail.assign(current.begin() + static_cast<std::ptrdiff_t>(std::min(current.size(), data.size())),
                    current.end());
    }
    if (!replaceByCopy(target, data, tail, status.st_mode & 07777, &status))
        writeInPlace(target, data, 0);
}

void writeWholeFile(const std::filesystem::path &path, std::span<const uint8_t> data)
{
    struct stat status {};
    const bool exists = ::stat(path.c_str(), &status) == 0;
    mode_t mode = 0644;
    if (exists) {
        mode = status.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (!replaceByCopy(path, data, {}, mode, exists ? &status : nullptr))
        writeInPlace(path, data, O_CREAT | O_TRUNC);
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

void writeWholeFile(const std::filesystem::path &path, std::span<const uint8_t> data)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file || !file.write(reinterpret_cast<const char *>(data.data()), data.size()) || !file.flush())
        throw RomError(failure(path, "cannot be written"));
}

#endif

std::filesystem::path dataPath(const std::filesystem::path &dir, std::string_view relative)
{
    std::string portable(relative);
    for (char &c : portable) {
        if (c == '\\')
            c = '/';
    }
    return dir / std::filesystem::path(portable).make_preferred();
}

} // namespace tamo::fs
