#include "tests/view/view_test_support.h"
#include "view/stage_pictures.h"

#include <gtest/gtest.h>

namespace tamo {
namespace {

struct CountingLoader : PictureLoader
{
    std::unique_ptr<Picture> load(const std::filesystem::path &file) const override
    {
        files.push_back(file);
        if (failing)
            throw std::runtime_error(file.string() + ": cannot be read");
        return std::make_unique<test::FakePicture>(2048, 64);
    }

    mutable std::vector<std::filesystem::path> files;
    bool failing = false;
};

TEST(StagePictures, FailedLoadLeavesNoPicture)
{
    CountingLoader loader;
    std::unique_ptr<Picture> chips;
    LoadPicture(loader, "/p/chip5.bmp", chips);
    ASSERT_NE(chips, nullptr);
    loader.failing = true;
    EXPECT_THROW(LoadPicture(loader, "/p/chip7.bmp", chips), std::runtime_error);
    EXPECT_EQ(chips, nullptr);
    EXPECT_EQ(loader.files.back(), std::filesystem::path("/p/chip7.bmp"));
}

} // namespace
} // namespace tamo
