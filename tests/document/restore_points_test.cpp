#include "document/restore_points.h"
#include "tests/document/document_test_support.h"

#include <QCryptographicHash>
#include <QTimeZone>

namespace {

QDateTime at(int minute)
{
    return QDateTime(QDate(2024, 5, 1), QTime(12, minute), QTimeZone::utc());
}

// The folder of a ROM file's restore points: the file's name, a dot and the first 16 hex
// digits of the SHA-256 of its canonical path.
std::string folderNameOf(const std::filesystem::path &rom)
{
    const QByteArray canonical = QByteArray::fromStdString(std::filesystem::canonical(rom).string());
    return rom.filename().string() + "."
        + QCryptographicHash::hash(canonical, QCryptographicHash::Sha256).toHex().left(16).toStdString();
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
    const std::string folderName = folderNameOf(romPath());
    EXPECT_EQ(names, (std::vector<std::string>{folderName + "/2024-05-01T12-04-00.001Z.smc",
                                               folderName + "/2024-05-01T12-04-00.000Z.smc",
                                               folderName + "/2024-05-01T12-03-00.000Z.smc"}));
    const RestorePoint oldest = points.list().back();
    EXPECT_EQ(oldest.madeAt, at(3));
    EXPECT_EQ(oldest.size, 3);
    EXPECT_EQ(tamo::fs::readWholeFile(oldest.file), (std::vector<uint8_t>{3, 1, 2}));
}

TEST_F(DocumentFileTest, FilesOfOneNameInTwoFoldersKeepTheirOwnRestorePoints)
{
    const std::filesystem::path backups = folder.path / "Backups";
    const std::filesystem::path other = folder.path / "other" / "game.smc";
    std::filesystem::create_directories(other.parent_path());
    tamo::fs::writeWholeFile(other, std::vector<uint8_t>{7, 7});
    // Keeping one each: the other file's save must neither list nor remove ours.
    const RestorePoints ours(backups, romPath(), 1);
    const RestorePoints theirs(backups, other, 1);
    ours.keepBeforeSave(at(0));
    theirs.keepBeforeSave(at(1));

    const std::vector<RestorePoint> ourPoints = ours.list();
    const std::vector<RestorePoint> theirPoints = theirs.list();
    ASSERT_EQ(ourPoints.size(), 1u);
    ASSERT_EQ(theirPoints.size(), 1u);
    EXPECT_EQ(ourPoints[0].madeAt, at(0));
    EXPECT_EQ(tamo::fs::readWholeFile(ourPoints[0].file), counting());
    EXPECT_EQ(theirPoints[0].madeAt, at(1));
    EXPECT_EQ(tamo::fs::readWholeFile(theirPoints[0].file), (std::vector<uint8_t>{7, 7}));
    EXPECT_EQ(theirPoints[0].file.parent_path().filename().string(), folderNameOf(other));
}
