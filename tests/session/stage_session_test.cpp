#include "core/file_system.h"
#include "session/stage_session.h"
#include "tests/support/temp_folder.h"

#include <QString>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace {

const std::filesystem::path demoFolder{TAMO_DEMO_FOLDER};

// The demo ROM lays its tables out at these places.
constexpr int64_t FGTable = 0x39801E;
constexpr int64_t CameraTable = 0x3C8000;
constexpr int64_t BaseCamera = 0x3C0000;
constexpr int32_t DemoStage = 22;

// A session on a copy of the demo set, the ROM opened and every error of the handlers
// the document calls kept in errors.
class StageSessionTest : public testing::Test
{
protected:
    StageSessionTest()
    {
        std::filesystem::copy(demoFolder / "Data", folder.path / "Data", std::filesystem::copy_options::recursive);
        std::filesystem::copy_file(demoFolder / "demo.smc", folder.path / "demo.smc");
        std::filesystem::create_directory(folder.path / "Config");
    }

    void makeSession()
    {
        session = std::make_unique<StageSession>(tamo::ProgramFolder(folder.path), [this](const auto &handler) {
            try {
                handler();
            } catch (const std::exception &error) {
                errors.push_back(error.what());
            }
        });
        // Every signal a window would follow, in the order the session gives them.
        connect("romOpened", &StageSession::romOpened);
        connect("stageLoaded", &StageSession::stageLoaded);
        connect("stageLoadFailed", &StageSession::stageLoadFailed);
        connect("penChanged", &StageSession::penChanged);
        connect("pictureRedrawn", &StageSession::pictureRedrawn);
        QObject::connect(session.get(), &StageSession::cellsRedrawn, [this](const std::vector<tamo::CellPosition> &cells) {
            for (const tamo::CellPosition &cell : cells)
                heard.push_back("cell " + std::to_string(cell.column) + "," + std::to_string(cell.row));
        });
        QObject::connect(session.get(), &StageSession::changed, [this](const RomChange &change) {
            heard.push_back("changed " + std::to_string(int(change.scope)) + " in stage "
                            + std::to_string(session->LevelNumber) + (session->StageShown() ? " shown" : ""));
        });
    }

    void openDemo()
    {
        makeSession();
        session->openImage(QString::fromStdString((folder.path / "demo.smc").string()));
        session->LevelNumber = DemoStage;
        session->LoadStage();
        heard.clear();
    }

    void connect(const std::string &name, void (StageSession::*signal)())
    {
        QObject::connect(session.get(), signal, [this, name] { heard.push_back(name); });
    }

    uint16_t romWord(int64_t at) const
    {
        const std::vector<uint8_t> &bytes = session->RomImage.bytes();
        return uint16_t(bytes.at(size_t(at)) | bytes.at(size_t(at) + 1) << 8);
    }
    // The stage's camera block, worked out from the pointer table as the ROM lays it out.
    int64_t cameraBlock(int32_t level) const { return BaseCamera + romWord(CameraTable + 2 * level) - 4; }

    tamo::test::TempFolder folder;
    std::unique_ptr<StageSession> session;
    std::vector<std::string> heard;
    std::vector<std::string> errors;
};

TEST_F(StageSessionTest, OpeningAndLoadingSayWhatTheyDid)
{
    makeSession();
    EXPECT_FALSE(session->RomLoaded);
    session->openImage(QString::fromStdString((folder.path / "demo.smc").string()));
    EXPECT_TRUE(session->RomLoaded);
    EXPECT_FALSE(session->StageShown()) << "opening alone shows no stage";
    session->Pen.CurrentChip = 5;
    session->Pen.HFlip = true;
    session->LoadStage();
    EXPECT_TRUE(session->StageShown());
    EXPECT_EQ(session->Pen.CurrentChip, 0);
    EXPECT_FALSE(session->Pen.HFlip);
    EXPECT_EQ(heard, (std::vector<std::string>{"romOpened", "pictureRedrawn", "penChanged", "stageLoaded"}));
    EXPECT_EQ(session->stagePicture().height(), 16 * 32);
}

TEST_F(StageSessionTest, AFileThatDoesNotReadChangesNothing)
{
    openDemo();
    const std::vector<uint8_t> before = session->RomImage.bytes();
    EXPECT_THROW(session->openImage(QString::fromStdString((folder.path / "missing.smc").string())), std::exception);
    EXPECT_EQ(session->RomImage.bytes(), before);
    EXPECT_TRUE(session->StageShown());
    EXPECT_TRUE(heard.empty());
}

TEST_F(StageSessionTest, AFailedLoadLeavesNoStageAndNoChipsToWriteWith)
{
    openDemo();
    session->Selection->select(tamo::MapObject{tamo::ObjectKind::Sprite, 0});
    // The stage's chip bitmap goes missing: the FG word names the tilemap in hexadecimal,
    // the file is numbered in decimal (the demo names tilemaps 1 to 8 alike).
    const uint16_t fgWord = romWord(FGTable + 2 * DemoStage);
    std::filesystem::remove(folder.path / "Data" / ("chip" + std::to_string(fgWord) + ".bmp"));
    session->LevelNumber = DemoStage;
    EXPECT_THROW(session->LoadStage(), std::runtime_error);
    EXPECT_FALSE(session->StageShown());
    EXPECT_EQ(session->ChipPicture, nullptr);
    EXPECT_FALSE(session->Selection->object());
    EXPECT_EQ(heard, (std::vector<std::string>{"stageLoadFailed"}));
}

TEST_F(StageSessionTest, AWholeImageChangeReloadsTheStageBeforeAnyListenerHearsOfIt)
{
    openDemo();
    // The new bytes give the stage a map from column 0x20 / 32 = 1 of (0x0A40 - 0x20) / 32 + 8 = 89
    // columns.
    std::vector<uint8_t> bytes = session->RomImage.bytes();
    const int64_t block = cameraBlock(DemoStage);
    bytes[size_t(block)] = 0x20;
    bytes[size_t(block) + 1] = 0x00;
    bytes[size_t(block) + 2] = 0x40;
    bytes[size_t(block) + 3] = 0x0A;
    ASSERT_TRUE(session->Document->replaceImage(bytes, QStringLiteral("Restore point"), DemoStage));
    EXPECT_EQ(session->Stage.TilemapStart, 0x20);
    EXPECT_EQ(session->Stage.MapWidth, 89);
    EXPECT_EQ(session->stagePicture().width(), 89 * 32);
    EXPECT_EQ(heard, (std::vector<std::string>{"pictureRedrawn", "penChanged", "stageLoaded",
                                               "changed 5 in stage 22 shown"}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(StageSessionTest, UndoOfAStepOfAnotherStageShowsThatStageFirst)
{
    openDemo();
    // A cell of the stage's map, one word of its tile map.
    const int64_t cell = session->Stage.TilemapOffset + 2 * ((3 + session->Stage.TilemapStart / 32) * 16 + 5);
    ASSERT_TRUE(session->Document->edit(RomEdit{QStringLiteral("Paint 1 cell"), EditScope::TileMap, DemoStage,
                                                tamo::RomPatch().writeWord(cell, 0x4007, "test")}));
    EXPECT_EQ(heard, (std::vector<std::string>{"cell 3,5", "pictureRedrawn", "changed 0 in stage 22 shown"}));
    session->LevelNumber = 5;
    session->LoadStage();
    heard.clear();
    session->Document->history()->undo();
    EXPECT_EQ(session->LevelNumber, DemoStage);
    EXPECT_EQ(heard, (std::vector<std::string>{"pictureRedrawn", "penChanged", "stageLoaded", "cell 3,5",
                                               "pictureRedrawn", "changed 0 in stage 22 shown"}));
}

TEST_F(StageSessionTest, ErrorsOfTheDocumentsHandlersAreReportedNotThrownThroughQt)
{
    openDemo();
    std::filesystem::remove_all(folder.path / "Data");
    std::vector<uint8_t> bytes = session->RomImage.bytes();
    bytes[0] ^= 0xFF;
    EXPECT_NO_THROW(session->Document->replaceImage(bytes, QStringLiteral("Reload from disk"), DemoStage));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("chip"), std::string::npos) << errors[0];
    EXPECT_FALSE(session->StageShown());
}

TEST_F(StageSessionTest, SettingsOutliveTheSession)
{
    makeSession();
    session->LevelNumber = 7;
    session->toggleMarks(&tamo::MarkSwitches::ShowCameraMarks);
    session->writeSettings();
    session->saveApplicationIni();
    const std::vector<uint8_t> file = tamo::fs::readWholeFile(folder.path / "Config" / "application.ini");
    const std::string text(file.begin(), file.end());
    EXPECT_NE(text.find("Camera=0"), std::string::npos) << text;
    EXPECT_NE(text.find("Latest=7"), std::string::npos) << text;
    makeSession();
    EXPECT_EQ(session->LevelNumber, 7);
    EXPECT_FALSE(session->MarkSwitches.ShowCameraMarks);
    EXPECT_TRUE(session->MarkSwitches.ShowSpriteMarks);
}

} // namespace
