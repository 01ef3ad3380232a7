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

TEST(StagePictures, ChipFileIsNumberedInDecimalInsideData)
{
    const std::filesystem::path dir = "/opt/tamo";
    EXPECT_EQ(ChipPictureFile(dir, 12), dir / "Data" / "chip12.bmp");
    EXPECT_EQ(ChipPictureFile(dir, 0), dir / "Data" / "chip0.bmp");
    EXPECT_EQ(MarkPictureFile(dir), dir / "Data" / "mark.bmp");
}

TEST(StagePictures, FailedLoadLeavesNoPicture)
{
    CountingLoader loader;
    std::unique_ptr<Picture> chips;
    LoadChipPicture(loader, "/p", 5, chips);
    ASSERT_NE(chips, nullptr);
    loader.failing = true;
    EXPECT_THROW(LoadChipPicture(loader, "/p", 7, chips), std::runtime_error);
    EXPECT_EQ(chips, nullptr);
    EXPECT_EQ(loader.files.back(), std::filesystem::path("/p") / "Data" / "chip7.bmp");
}

TEST(StagePictures, MarkPictureComesFromItsFile)
{
    CountingLoader loader;
    std::unique_ptr<Picture> marks;
    LoadMarkPicture(loader, "/p", marks);
    ASSERT_NE(marks, nullptr);
    EXPECT_EQ(loader.files.back(), std::filesystem::path("/p") / "Data" / "mark.bmp");
}

} // namespace
} // namespace tamo
