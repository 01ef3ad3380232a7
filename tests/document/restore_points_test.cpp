#include "document/restore_points.h"
#include "tests/document/document_test_support.h"

#include <QTimeZone>

namespace {

QDateTime at(int minute)
{
    return QDateTime(QDate(2024, 5, 1), QTime(12, minute), QTimeZone::utc());
}

} // namespace

TEST_F(DocumentFileTest, TheNewestRestorePointsAreKeptNamedByTheTimeOfTheSave)
{
    const std::filesystem::path backups = folder.path / "Backups";
    RestorePoints(backups, romPath(), 0).keepBeforeSave(at(0));
    EXPECT_FALSE(std::filesystem::exists(backups)) << "0 keeps none";

    const RestorePoints points(backups, romPath(), 3);
    for (int save = 0; save < 5; ++save) {
        writeFile({uint8_t(save), 1, 2});
        points.keepBeforeSave(at(save));
    }
    // A save of the same bytes again keeps no second copy of them; two saves within one
    // millisecond keep both, in their order.
    points.keepBeforeSave(at(5));
    writeFile({9});
    points.keepBeforeSave(at(4));

    std::vector<std::string> names;
    for (const RestorePoint &point : points.list())
        names.push_back(point.file.parent_path().filename().string() + "/" + point.file.filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"game.smc/2024-05-01T12-04-00.001Z.smc",
                                               "game.smc/2024-05-01T12-04-00.000Z.smc",
                                               "game.smc/2024-05-01T12-03-00.000Z.smc"}));
    const RestorePoint oldest = points.list().back();
    EXPECT_EQ(oldest.madeAt, at(3));
    EXPECT_EQ(oldest.size, 3);
    EXPECT_EQ(tamo::fs::readWholeFile(oldest.file), (std::vector<uint8_t>{3, 1, 2}));
}
