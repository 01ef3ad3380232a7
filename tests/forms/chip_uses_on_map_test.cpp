// View > Highlight Chip Uses and Edit > Replace Chip on the demo ROM, against the uses of a
// chip that the test finds in the tile words itself.
#include "tests/forms/main_window_test_support.h"

#include "cli/demo_themes.h"
#include "forms/stage_image.h"
#include "tests/support/chip_count.h"

#include <QCheckBox>
#include <QRadioButton>

#include <set>
#include <utility>

namespace {

using Cell = std::pair<int, int>;
constexpr int Grass = tamo::cli::ChipGrassEdge;
constexpr int Mailbox = tamo::cli::ChipMailbox;

class ChipUsesOnMapTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        openDemoRom();
        ASSERT_EQ(session().LevelNumber, 22);
    }

    static tamo::test::ChipCount countChip(int chip)
    {
        return tamo::test::CountChip(romBytes(), session().OffsetsIni, chip);
    }
    static std::set<Cell> cellsOfStageShown(int chip)
    {
        const auto cells = countChip(chip).cellsOfStage[session().LevelNumber];
        return {cells.begin(), cells.end()};
    }
    // A click on the button's mark: a button stretched by its layout takes clicks on its
    // mark and text only.
    static void clickMark(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    static QString chipUsesPanel() { return control<QLabel>(FormMain, "StatusBar1ChipUses")->text(); }
    static QString sharedPanel() { return control<QLabel>(FormMain, "StatusBar1Panel3")->text(); }
    static void pickPen(const Cell &cell)
    {
        QTest::mouseClick(imageMain(), Qt::RightButton, {}, cellCentre(cell.first, cell.second));
    }

    // The cells whose view pixels differ between the two pictures at the view's zoom.
    static std::set<Cell> cellsThatDiffer(const QImage &plain, const QImage &tinted)
    {
        const tamo::MapZoom zoom = static_cast<StageImage *>(imageMain())->zoom();
        const int side = zoom.toView(32);
        std::set<Cell> differ;
        for (int column = 0; column < session().Stage.MapWidth; ++column) {
            for (int row = 0; row < session().Stage.MapHeight; ++row) {
                const QRect place(zoom.toView(column * 32), zoom.toView(row * 32), side, side);
                if (plain.copy(place) != tinted.copy(place))
                    differ.insert({column, row});
            }
        }
        return differ;
    }

    // Replace Chip through its dialog: the chip found is the pen's, replaced by Mailbox.
    void replaceGrassByMailbox(const char *area, bool setLeftRightFlip)
    {
        whenModalShown([area, setLeftRightFlip](QWidget *dialog) {
            EXPECT_EQ(control<QLineEdit>(dialog, "EditFindChip")->text(), QStringLiteral("005"));
            auto *ok = control<QPushButton>(dialog, "ButtonOK");
            EXPECT_FALSE(ok->isEnabled()) << "no replacement given yet";
            typeInto(control<QLineEdit>(dialog, "EditReplaceBy"), QStringLiteral("4000"));
            EXPECT_FALSE(ok->isEnabled()) << "4000 is no chip";
            typeInto(control<QLineEdit>(dialog, "EditReplaceBy"), QStringLiteral("1F"));
            EXPECT_TRUE(ok->isEnabled());
            if (setLeftRightFlip) {
                clickMark(control<QRadioButton>(dialog, "RadioSetFlips"));
                // They start as the pen's flips.
                for (const auto &[name, wanted] : {std::pair{"CheckBoxHFlip", true}, {"CheckBoxVFlip", false}}) {
                    auto *box = control<QCheckBox>(dialog, name);
                    if (box->isChecked() != wanted)
                        clickMark(box);
                }
            }
            clickMark(control<QRadioButton>(dialog, area));
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        FormMain->EditReplaceChip->trigger();
    }
};

TEST_F(ChipUsesOnMapTest, TheHighlightTintsTheCellsOfThePensChipOverThePictureAndFollowsPenAndEdits)
{
    const std::set<Cell> grass = cellsOfStageShown(Grass);
    ASSERT_GT(grass.size(), 2u);
    pickPen(*grass.begin());
    ASSERT_EQ(session().Pen.CurrentChip, Grass);
    const QImage stageBitmap = session().stagePicture().picture();
    const QImage plain = shownImage();
    FormMain->ViewHighlightChipUses->trigger();
    EXPECT_EQ(chipUsesPanel(), QStringLiteral("used in %1 cells").arg(grass.size()));
    EXPECT_EQ(cellsThatDiffer(plain, shownImage()), grass);

    for (int zoomOut = 0; zoomOut < 3; ++zoomOut)
        FormMain->ViewZoomOut->trigger();
    const QImage tintedAtAnEighth = shownImage();
    FormMain->ViewHighlightChipUses->trigger();
    EXPECT_EQ(chipUsesPanel(), QString());
    EXPECT_EQ(cellsThatDiffer(shownImage(), tintedAtAnEighth), grass) << "at 1/8";
    FormMain->ViewHighlightChipUses->trigger();
    FormMain->ViewZoomActual->trigger();

    EXPECT_TRUE(session().stagePicture().picture() == stageBitmap) << "never drawn into the stage bitmap";
    const QImage exported = exportThroughTheDialog("highlighted");
    EXPECT_TRUE(exported.convertToFormat(QImage::Format_RGB32) == stageBitmap.convertToFormat(QImage::Format_RGB32));

    // Another chip picked from the map, then one more cell painted with it.
    const int bottomChip = cellWord(0, 15) & 0x3FFF;
    Cell other{0, 0};
    while (grass.count(other) || (cellWord(other.first, other.second) & 0x3FFF) == bottomChip)
        ++other.first;
    const int otherChip = cellWord(other.first, other.second) & 0x3FFF;
    pickPen(other);
    const size_t uses = cellsOfStageShown(otherChip).size();
    EXPECT_EQ(chipUsesPanel(), QStringLiteral("used in %1 cells").arg(uses));
    QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(0, 15));
    ASSERT_EQ(cellsOfStageShown(otherChip).size(), uses + 1);
    EXPECT_EQ(chipUsesPanel(), QStringLiteral("used in %1 cells").arg(uses + 1));
    const QImage tinted = shownImage();
    FormMain->ViewHighlightChipUses->trigger();
    EXPECT_EQ(cellsThatDiffer(shownImage(), tinted), cellsOfStageShown(otherChip));
    FormMain->ViewHighlightChipUses->trigger();

    restart();
    EXPECT_EQ(tamo::IniFile::load(dataFile("Config/application.ini")).value("MapView", "HighlightChipUses"), "1");
    EXPECT_TRUE(FormMain->ViewHighlightChipUses->isChecked());
    openDemoRom();
    EXPECT_EQ(chipUsesPanel(), QStringLiteral("used in %1 cells").arg(cellsOfStageShown(0).size()))
        << "a stage load resets the pen to chip 0";
}

TEST_F(ChipUsesOnMapTest, ReplacingInEveryTileMapIsOneStepUndoneAndRedoneFromAnotherStage)
{
    const std::vector<uint8_t> before = romBytes();
    const tamo::test::ChipCount grass = countChip(Grass);
    ASSERT_GT(grass.cellsOfStage.size(), 2u);
    pickPen(grass.cellsOfStage.at(22).front());
    replaceGrassByMailbox("RadioEveryTileMap", false);

    std::vector<uint8_t> after = before;
    for (const size_t at : grass.words)
        after[at] = uint8_t(Mailbox); // the high byte holds the flips, kept
    EXPECT_EQ(changedOffsets(after, romBytes()), std::vector<int64_t>{});
    const QString step = QStringLiteral("Replace chip 005 by 01F in %1 cells").arg(grass.words.size());
    EXPECT_EQ(FormMain->EditUndo->text(), QStringLiteral("Undo ") + step);
    EXPECT_EQ(session().Document->history()->count(), 1);
    EXPECT_TRUE(countChip(Grass).words.empty());

    const int elsewhere = std::prev(grass.cellsOfStage.end())->first;
    ASSERT_NE(elsewhere, 22);
    session().ShowStageOf(elsewhere);
    activate(FormMain);
    pressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(romBytes(), before);
    EXPECT_EQ(session().LevelNumber, 22) << "the step's own stage is shown for its undo";
    EXPECT_EQ(FormMain->EditRedo->text(), QStringLiteral("Redo ") + step);
    session().ShowStageOf(elsewhere);
    pressKey(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(romBytes(), after);
    EXPECT_EQ(session().LevelNumber, 22);
}

TEST_F(ChipUsesOnMapTest, ReplacingInTheStageTileMapNamesTheStagesSharingItAndSetsTheFlipsGiven)
{
    const std::vector<uint8_t> before = romBytes();
    const tamo::test::ChipCount grass = countChip(Grass);
    // Every stage in screen mode 0 with the chip bitmap of stage 22 shows its tile map.
    std::vector<uint8_t> after = before;
    std::set<size_t> changed;
    for (const auto &[level, words] : grass.wordsOfStage) {
        for (const size_t at : words) {
            if (fgTilemapOf(level) == fgTilemapOf(22)) {
                after[at] = uint8_t(Mailbox);
                after[at + 1] = 0x40;
                changed.insert(at);
            }
        }
    }
    ASSERT_FALSE(sharedPanel().isEmpty()) << "stage 22 shares its tile map";
    pickPen(grass.cellsOfStage.at(22).front());
    whenModalShown([](QWidget *dialog) {
        EXPECT_EQ(control<QLabel>(dialog, "LabelSharedStages")->text(), sharedPanel());
        EXPECT_TRUE(control<QRadioButton>(dialog, "RadioStageTileMap")->isChecked());
        dialog->close();
    });
    FormMain->EditReplaceChip->trigger();
    replaceGrassByMailbox("RadioStageTileMap", true);
    EXPECT_EQ(changedOffsets(after, romBytes()), std::vector<int64_t>{});
    EXPECT_LT(changed.size(), grass.words.size()) << "other tile maps keep theirs";
    EXPECT_EQ(FormMain->EditUndo->text(), QStringLiteral("Undo Replace chip 005 by 01F mirrored left-right in %1 cells (%2)")
                                              .arg(changed.size())
                                              .arg(sharedPanel()));

    // The tile map holds the chip no more: no step, and the user is told.
    replaceGrassByMailbox("RadioStageTileMap", false);
    EXPECT_EQ(session().Document->history()->count(), 1);
    EXPECT_EQ(messages, QStringList{QStringLiteral(
                            "No cell to change: no cell holds chip 005, or each already holds what it would get.")});
}

} // namespace
