#include "core/test_copy_folder.h"

#include "core/file_system.h"
#include "core/rom_error.h"

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace tamo {
namespace {

constexpr std::string_view runPrefix = "run-";

// The process number in a run folder's name; none for a name that is not one.
std::optional<int64_t> runOf(const std::string &name)
{
    if (!name.starts_with(runPrefix))
        return std::nullopt;
    const char *first = name.data() + runPrefix.size();
    const char *last = name.data() + name.size();
    int64_t id = 0;
    const auto [end, error] = std::from_chars(first, last, id);
    if (error != std::errc() || end != last || first == last || *first == '0')
        return std::nullopt;
    return id;
}

} // namespace

std::filesystem::path TestCopyFolder::defaultParent()
{
    // A temporary folder that is not there (TMPDIR naming none) leaves the usual one.
    std::error_code error;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error)
        temporary = "/tmp";
    return temporary / ("tamo-emulator-copies-" + std::to_string(fs::currentUserId()));
}

TestCopyFolder::TestCopyFolder(std::filesystem::path parent)
    : m_parent(std::move(parent))
{
    removeLeftBehind();
}

TestCopyFolder::~TestCopyFolder()
{
    if (!m_made)
        return;
    std::error_code ignored;
    std::filesystem::remove_all(runFolder(), ignored);
}

std::filesystem::path TestCopyFolder::runFolder() const
{
    return m_parent / (std::string(runPrefix) + std::to_string(fs::currentProcessId()));
}

void TestCopyFolder::removeLeftBehind() const
{
    std::error_code error;
    // Nothing is removed from a parent that is not this user's alone.
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(m_parent, error)))
        return;
    try {
        fs::makePrivateFolder(m_parent);
    } catch (const RomError &) {
        return;
    }
    for (std::filesystem::directory_iterator entry(m_parent, error), end; !error && entry != end; entry.increment(error)) {
        const std::optional<int64_t> run = runOf(entry->path().filename().string());
        if (run && *run != fs::currentProcessId() && !fs::processIsRunning(*run)) {
            std::error_code ignored;
            std::filesystem::remove_all(entry->path(), ignored);
        }
    }
}

void TestCopyFolder::makeRunFolder()
{
    fs::makePrivateFolder(m_parent);
    // A folder of this number is what an earlier run of the same number left.
    std::error_code ignored;
    std::filesystem::remove_all(runFolder(), ignored);
    fs::makePrivateFolder(runFolder());
    m_made = true;
}

std::filesystem::path TestCopyFolder::writeCopy(const std::filesystem::path &fileName, std::span<const uint8_t> bytes)
{
    if (!m_made)
        makeRunFolder();
    const std::filesystem::path folder = runFolder() / std::to_string(++m_copies);
    fs::makePrivateFolder(folder);
    const std::filesystem::path copy = folder / fileName.filename();
    try {
        fs::writeWholeFile(copy, bytes);
    } catch (const RomError &) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        throw;
    }
    return copy;
}

} // namespace tamo
