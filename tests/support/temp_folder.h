#pragma once

#include <atomic>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace tamo::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
struct TempFolder
{
    std::filesystem::path path;

    TempFolder()
    {
        static std::atomic<int> counter{0};
        path = std::filesystem::temp_directory_path()
            / ("tamo-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;
};

} // namespace tamo::test
