#include "core/rom_error.h"
#include "document/restore_points.h"
#include "tests/document/document_test_support.h"

#include <QTimeZone>

namespace {

class RestorePointsTest : public DocumentFileTest
{
protected:
    static QDateTime at(int minute, int millisecond = 0)
    {
        return QDateTime(QDate(2024, 5, 1), QTime(12, minute, 0, millisecond), QTimeZone::utc());
    }
    std::vector<std::string> names(const RestorePoints &points) const
    {
        std::vector<std::string> found;
        for (const RestorePoint &point : points.list())
            found.push_back(point.file.filename().string());
        return found;
    }
    std::filesystem::path backups() const { return folder.path / "Backups"; }
};

} // namespace

TEST_F(RestorePointsTest, TheNewestAreKeptNamedByTheTimeOfTheSave)
{
    const RestorePoints points(backups(), romPath(), 3);
    for (int save = 0; save < 5; ++save) {
        writeFile({uint8_t(save), 1, 2});
        points.keepBeforeSave(at(save));
    }
    EXPECT_EQ(points.folder(), backups() / "game.smc");
    EXPECT_EQ(names(points), (std::vector<std::string>{"2024-05-01T12-04-00.000Z.smc", "2024-05-01T12-03-00.000Z.smc",
                                                        "2024-05-01T12-02-00.000Z.smc"}));
    const std::vector<RestorePoint> list = points.list();
    EXPECT_EQ(list.front().madeAt, at(4));
    EXPECT_EQ(list.front().size, 3);
    EXPECT_EQ(tamo::fs::readWholeFile(list.back().file), (std::vector<uint8_t>{2, 1, 2}));

    // A save of the same bytes again keeps no second copy of them.
    points.keepBeforeSave(at(5));
    EXPECT_EQ(names(points).front(), "2024-05-01T12-04-00.000Z.smc");
    // Two saves within one millisecond keep both, in their order.
    writeFile({9});
    points.keepBeforeSave(at(4));
    EXPECT_EQ(names(points).front(), "2024-05-01T12-04-00.001Z.smc");
    EXPECT_EQ(points.list().size(), 3u);
}

TEST_F(RestorePointsTest, NoneAreKeptWithZeroAndOneThatCannotBeWrittenStopsTheSave)
{
    RestorePoints(backups(), romPath(), 0).keepBeforeSave(at(0));
    EXPECT_FALSE(std::filesystem::exists(backups()));

    // A file where the folder would be.
    writeFile({1});
    std::ofstream(backups()) << "not a folder";
    try {
        RestorePoints(backups(), romPath(), 20).keepBeforeSave(at(0));
        FAIL() << "the restore point cannot be written";
    } catch (const tamo::RomError &error) {
        EXPECT_NE(std::string(error.what()).find("not saved"), std::string::npos) << error.what();
    }
}
