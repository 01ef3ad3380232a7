#include "core/rom_error.h"
#include "document/paint_stroke.h"
#include "document/rom_document.h"
#include "tests/support/temp_folder.h"

#include <QString>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

// What the document said, in order: "stage N" for stageNeeded, "change SCOPE LEVEL
// HISTORY OFFSET=BYTE..." for changed.
class DocumentTest : public testing::Test
{
protected:
    DocumentTest()
    {
        std::vector<uint8_t> bytes(64);
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<uint8_t>(i);
        writeFile(bytes);
        QObject::connect(&document, &RomDocument::stageNeeded,
                         [this](int32_t level) { events.push_back("stage " + std::to_string(level)); });
        QObject::connect(&document, &RomDocument::changed, [this](const RomChange &change) {
            std::string text = "change " + std::to_string(int(change.scope)) + " " + std::to_string(change.level)
                               + (change.fromHistory ? " history" : " edit");
            for (const tamo::RomWrite &write : change.patch.writes()) {
                for (size_t i = 0; i < write.bytes.size(); ++i)
                    text += " " + std::to_string(write.offset + int64_t(i)) + "=" + std::to_string(write.bytes[i]);
            }
            events.push_back(text);
        });
        document.open(fileName());
    }

    QString fileName() const { return QString::fromStdString((folder.path / "game.smc").string()); }
    void writeFile(const std::vector<uint8_t> &bytes) const
    {
        std::ofstream out(folder.path / "game.smc", std::ios::binary);
        out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::vector<uint8_t> fileBytes() const
    {
        std::ifstream in(folder.path / "game.smc", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    uint8_t byte(int64_t at) const { return document.image().bytes().at(size_t(at)); }

    static RomEdit byteEdit(int64_t at, uint8_t value, EditScope scope = EditScope::SpriteList, int32_t level = 3)
    {
        return RomEdit{QStringLiteral("Sprite #0"), scope, level, tamo::RomPatch().writeByte(at, value, "t")};
    }

    tamo::test::TempFolder folder;
    RomDocument document;
    std::vector<std::string> events;
};

TEST_F(DocumentTest, AStrokeIsOneStepAndACellPaintedTwiceGetsBackItsFirstValue)
{
    PaintStroke stroke;
    stroke.begin(document.newMergeKey());
    const tamo::RomPatch cells[] = {tamo::RomPatch().writeWord(10, 0x1111, "t"),
                                    tamo::RomPatch().writeWord(12, 0x2222, "t"),
                                    tamo::RomPatch().writeWord(10, 0x3333, "t")};
    for (const tamo::RomPatch &cell : cells)
        EXPECT_TRUE(document.edit(stroke.edit(cell, 5, document.image())));
    ASSERT_EQ(document.history()->count(), 1);
    EXPECT_EQ(document.history()->undoText(), QStringLiteral("Paint 2 cells"));
    document.history()->undo();
    EXPECT_EQ(byte(10), 10);
    EXPECT_EQ(byte(11), 11);
    EXPECT_EQ(byte(12), 12);
    document.history()->redo();
    EXPECT_EQ(byte(10), 0x33);
    EXPECT_EQ(byte(12), 0x22);

    // The next stroke is a step of its own.
    stroke.begin(document.newMergeKey());
    document.edit(stroke.edit(tamo::RomPatch().writeWord(20, 0x4444, "t"), 5, document.image()));
    EXPECT_EQ(document.history()->count(), 2);
    EXPECT_EQ(document.history()->undoText(), QStringLiteral("Paint 1 cell"));
}

TEST_F(DocumentTest, AStrokeUndoneRedoneAndGrownStillUndoesToItsFirstBytes)
{
    PaintStroke stroke;
    stroke.begin(document.newMergeKey());
    document.edit(stroke.edit(tamo::RomPatch().writeWord(10, 0x1111, "t"), 5, document.image()));
    document.edit(stroke.edit(tamo::RomPatch().writeWord(10, 0x2222, "t"), 5, document.image()));
    document.history()->undo();
    document.history()->redo();
    document.history()->undo();
    EXPECT_EQ(byte(10), 10);
    document.history()->redo();
    // The stroke goes on after the redo: its next put joins the same step.
    document.edit(stroke.edit(tamo::RomPatch().writeWord(11, 0x3333, "t"), 5, document.image()));
    ASSERT_EQ(document.history()->count(), 1);
    EXPECT_EQ(byte(10), 0x22);
    EXPECT_EQ(byte(12), 0x33);
    document.history()->undo();
    EXPECT_EQ(byte(10), 10);
    EXPECT_EQ(byte(11), 11);
    EXPECT_EQ(byte(12), 12);
}

TEST_F(DocumentTest, AWholeImageReplacedAndUndoneGivesBackEveryByteEitherWay)
{
    // Bytes 0-15 and 40-63 differ, one of them by its low bit only; 16-39 are the same.
    std::vector<uint8_t> other(64);
    for (size_t i = 0; i < other.size(); ++i)
        other[i] = uint8_t(i >= 16 && i < 40 ? i : 200 - i);
    other[63] = 62;
    std::vector<uint8_t> original(64);
    for (size_t i = 0; i < original.size(); ++i)
        original[i] = uint8_t(i);
    ASSERT_TRUE(document.replaceImage(other, QStringLiteral("Restore"), 1));
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(document.image().bytes(), other);
        document.history()->undo();
        EXPECT_EQ(document.image().bytes(), original);
        document.history()->redo();
    }
    EXPECT_FALSE(document.replaceImage(other, QStringLiteral("Restore"), 1));
}

TEST_F(DocumentTest, AReplacementKeepsOnlyTheBytesThatDifferUnlessMostOfThemDo)
{
    // One byte of 64 differs: the step writes that byte and puts back its old value.
    std::vector<uint8_t> other(64);
    for (size_t i = 0; i < other.size(); ++i)
        other[i] = uint8_t(i);
    other[10] = 99;
    ASSERT_TRUE(document.replaceImage(other, QStringLiteral("Restore"), 1));
    document.history()->undo();
    EXPECT_EQ(events, (std::vector<std::string>{"change 5 1 edit 10=99", "stage 1", "change 5 1 history 10=10"}));
    // Every byte differs: the other image is traded whole, and the change lists no writes.
    for (uint8_t &byte : other)
        byte = uint8_t(~byte);
    events.clear();
    ASSERT_TRUE(document.replaceImage(other, QStringLiteral("Restore"), 2));
    document.history()->undo();
    EXPECT_EQ(events, (std::vector<std::string>{"change 5 2 edit", "stage 2", "change 5 2 history"}));
    EXPECT_EQ(byte(10), 10);
    EXPECT_EQ(byte(63), 63);
}

TEST_F(DocumentTest, EditsOfOneKeyInAnotherStageOrListAreStepsOfTheirOwn)
{
    // Nudges of the same object number: twice in stage 1, then in stage 2, then in a camera
    // list of stage 2, all under one key.
    const uint64_t key = document.newMergeKey();
    const auto nudge = [&](int64_t at, uint8_t value, EditScope scope, int32_t level) {
        RomEdit edit = byteEdit(at, value, scope, level);
        edit.mergeKey = key;
        EXPECT_TRUE(document.edit(edit));
    };
    nudge(5, 0x50, EditScope::SpriteList, 1);
    nudge(5, 0x51, EditScope::SpriteList, 1);
    nudge(5, 0x52, EditScope::SpriteList, 2);
    nudge(6, 0x60, EditScope::CameraList, 2);
    ASSERT_EQ(document.history()->count(), 3);

    // The two nudges in stage 1 are one step: the later's byte is put back first.
    events.clear();
    document.history()->undo();
    document.history()->undo();
    document.history()->undo();
    EXPECT_EQ(events, (std::vector<std::string>{
                          "stage 2", "change 2 2 history 6=6",
                          "stage 2", "change 1 2 history 5=81",
                          "stage 1", "change 1 1 history 5=80 5=5",
                      }));
}

TEST_F(DocumentTest, UndoAndRedoAskForTheirStageBeforeTheyChangeTheImage)
{
    document.edit(byteEdit(7, 0x70, EditScope::CameraList, 12));
    document.edit(byteEdit(8, 0x80, EditScope::StageSettings, 40));
    document.history()->undo();
    document.history()->undo();
    document.history()->redo();
    EXPECT_EQ(events, (std::vector<std::string>{
                          "change 2 12 edit 7=112",
                          "change 4 40 edit 8=128",
                          "stage 40", "change 4 40 history 8=8",
                          "stage 12", "change 2 12 history 7=7",
                          "stage 12", "change 2 12 history 7=112",
                      }));
}

TEST_F(DocumentTest, TheImageIsModifiedExactlyWhileItDiffersFromTheSavedState)
{
    EXPECT_FALSE(document.isModified());
    document.edit(byteEdit(1, 0xA1));
    EXPECT_TRUE(document.isModified());
    document.history()->undo();
    EXPECT_FALSE(document.isModified()) << "undone back to the file";
    document.history()->redo();
    document.save();
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(fileBytes().at(1), 0xA1);
    document.history()->undo();
    EXPECT_TRUE(document.isModified()) << "the saved state holds the edit";
    document.history()->redo();
    EXPECT_FALSE(document.isModified());

    // Opening starts a new history, clean.
    document.edit(byteEdit(2, 0xA2));
    document.open(fileName());
    EXPECT_EQ(document.history()->count(), 0);
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(byte(2), 2);
}

TEST_F(DocumentTest, EditsThatChangeNothingOrLieOutsideMakeNoStep)
{
    EXPECT_FALSE(document.edit(byteEdit(5, 5)));
    EXPECT_THROW(document.edit(byteEdit(64, 1)), tamo::RomRangeError);
    RomEdit partly = byteEdit(0, 0xFF);
    partly.patch.writeWord(63, 0, "Camera record");
    EXPECT_THROW(document.edit(partly), tamo::RomRangeError);
    EXPECT_EQ(byte(0), 0);
    EXPECT_EQ(document.history()->count(), 0);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(document.isModified());
}

TEST_F(DocumentTest, AFailedOpenKeepsTheImageItsNameAndItsHistory)
{
    document.edit(byteEdit(3, 0x33));
    const QString missing = QString::fromStdString((folder.path / "missing.smc").string());
    EXPECT_THROW(document.open(missing), tamo::RomError);
    EXPECT_EQ(document.fileName(), fileName());
    EXPECT_EQ(byte(3), 0x33);
    EXPECT_EQ(document.history()->count(), 1);
    EXPECT_TRUE(document.isModified());
}

} // namespace
