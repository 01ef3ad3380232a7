// The list of the stages that use the pen's chip, on the demo ROM, checked against the
// tile words counted here and against tamo-cli find-chip.
#include "tests/forms/main_window_test_support.h"

#include "cli/demo_themes.h"
#include "core/rom_error.h"
#include "forms/UnitChipUses.h"
#include "qtcommon/shift_jis_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace {

// A stage that shows the chip: how many of its cells do, and the first of them row by row.
struct CountedUse
{
    int level = 0;
    int cells = 0;
    tamo::CellPosition first{INT32_MAX, INT32_MAX};
};

class ChipUsesWindowTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        openDemoRom();
        showWindow(FormChipUses);
    }

    static QListWidget *list() { return control<QListWidget>(FormChipUses, "ListBoxChipUses"); }

    // Every stage in screen mode 0 whose cells hold the chip in bits 0-13 of their words:
    // the map lies column by column, MapHeight words each, from the column TilemapStart
    // is in; words beyond the image hold nothing.
    static std::vector<CountedUse> countedUses(int chip)
    {
        const tamo::StageSource source{session().RomImage, session().OffsetTable, session().OffsetsIni};
        const auto imageSize = int64_t(session().RomImage.bytes().size());
        std::vector<CountedUse> uses;
        for (int level = 0; level < tamo::LevelCount; ++level) {
            tamo::Stage stage;
            try {
                stage = tamo::DecodeStage(source, level, tamo::Stage{});
            } catch (const tamo::RomRangeError &) {
                continue;
            }
            if (stage.ScreenMode != 0)
                continue;
            CountedUse use{level};
            for (int column = 0; column < stage.MapWidth; ++column) {
                for (int row = 0; row < stage.MapHeight; ++row) {
                    const int64_t at = stage.TilemapOffset
                                       + 2 * ((column + stage.TilemapStart / 32) * int64_t(stage.MapHeight) + row);
                    if (at < 0 || at + 1 >= imageSize || (romWord(at) & 0x3FFF) != chip)
                        continue;
                    ++use.cells;
                    use.first = std::min(use.first, tamo::CellPosition{column, row},
                                         [](auto a, auto b) { return std::pair(a.row, a.column) < std::pair(b.row, b.column); });
                }
            }
            if (use.cells > 0)
                uses.push_back(use);
        }
        return uses;
    }

    // The lines the window should show: "16:name (3 cells)".
    static QStringList linesOf(const std::vector<CountedUse> &uses)
    {
        QStringList texts;
        for (const CountedUse &use : uses) {
            const std::string key = QString::asprintf("%02X", use.level).toStdString();
            texts << QStringLiteral("%1:%2 (%3 %4)")
                         .arg(QString::fromStdString(key),
                              tamo::fromShiftJis(session().OffsetsIni.readString("Level name", key)))
                         .arg(use.cells)
                         .arg(use.cells == 1 ? "cell" : "cells");
        }
        return texts;
    }

    static int cellsOfStage22(const std::vector<CountedUse> &uses)
    {
        const auto use = std::find_if(uses.begin(), uses.end(), [](const CountedUse &use) { return use.level == 22; });
        return use == uses.end() ? 0 : use->cells;
    }

    // The stages and their cell counts as tamo-cli find-chip gives them for the file.
    std::vector<std::pair<int, int>> findChipStages(int chip) const
    {
        QProcess cli;
        cli.start(QStringLiteral(TAMO_CLI_PROGRAM), {QStringLiteral("find-chip"), demoRom(), QString::number(chip)});
        EXPECT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        std::vector<std::pair<int, int>> stages;
        for (const QJsonValue &stage : QJsonDocument::fromJson(cli.readAllStandardOutput()).object()["stages"].toArray())
            stages.emplace_back(stage["stage"].toInt(), int(stage["cells"].toArray().size()));
        return stages;
    }
};

TEST_F(ChipUsesWindowTest, TheListAgreesWithTheTileWordsAndFindChipAndFollowsThePen)
{
    for (const int chip : {int(tamo::cli::ChipBrickWindow), int(tamo::cli::ChipGround)}) {
        choosePenChip(chip);
        QApplication::processEvents();
        const std::vector<CountedUse> uses = countedUses(chip);
        ASSERT_GE(uses.size(), 2u) << "chip " << chip << " is used in more than one stage";
        EXPECT_EQ(lines(list()), linesOf(uses)) << "chip " << chip;
        std::vector<std::pair<int, int>> counted;
        for (const CountedUse &use : uses)
            counted.emplace_back(use.level, use.cells);
        EXPECT_EQ(findChipStages(chip), counted) << "chip " << chip;
    }
}

TEST_F(ChipUsesWindowTest, TheHeadingCountsCellsAndStagesInTheirOwnNumber)
{
    // A chip no stage uses, painted into one cell of stage 22.
    int chip = 0;
    while (!countedUses(chip).empty())
        ++chip;
    choosePenChip(chip);
    QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(0, 0));
    QApplication::processEvents();
    const QString number = QStringLiteral("%1").arg(chip, 4, 16, QLatin1Char('0')).toUpper();
    EXPECT_EQ(control<QLabel>(FormChipUses, "LabelChip")->text(),
              QStringLiteral("Chip %1: 1 cell in 1 stage").arg(number));
}

TEST_F(ChipUsesWindowTest, ADoubleClickLoadsTheStageWithItsFirstUseInTheMiddleOfTheMap)
{
    const int chip = tamo::cli::ChipBrickWindow;
    choosePenChip(chip);
    QApplication::processEvents();
    const std::vector<CountedUse> uses = countedUses(chip);
    const auto other = std::find_if(uses.begin(), uses.end(), [](const CountedUse &use) { return use.level != 22; });
    ASSERT_NE(other, uses.end());
    const int line = int(other - uses.begin());

    list()->scrollToItem(list()->item(line));
    // A double click is a click followed by the double-click press.
    const QPoint at = list()->visualItemRect(list()->item(line)).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    EXPECT_EQ(session().LevelNumber, other->level);
    EXPECT_TRUE(session().StageShown());
    // The pen keeps the chip, and the list stays as it was.
    EXPECT_EQ(session().Pen.CurrentChip, chip);
    EXPECT_EQ(lines(list()), linesOf(uses));

    auto *box = control<QScrollArea>(FormMain, "ScrollBox1");
    const QPoint use(other->first.column * 32 + 16, other->first.row * 32 + 16);
    for (auto [bar, at, view] : {std::tuple(box->horizontalScrollBar(), use.x(), box->viewport()->width()),
                                 std::tuple(box->verticalScrollBar(), use.y(), box->viewport()->height())}) {
        EXPECT_GE(at, bar->value());
        EXPECT_LT(at, bar->value() + view);
        // In the middle, unless the map ends before.
        if (bar->value() > bar->minimum() && bar->value() < bar->maximum()) {
            EXPECT_NEAR(at - bar->value(), view / 2, 1);
        }
    }
}

TEST_F(ChipUsesWindowTest, TheListFollowsAPaintAndItsUndo)
{
    const int chip = tamo::cli::ChipBrickWindow;
    choosePenChip(chip);
    QApplication::processEvents();
    const std::vector<CountedUse> before = countedUses(chip);
    // A cell of stage 22 without the chip, painted with it as the user paints.
    int column = 0;
    while ((cellWord(column, 0) & 0x3FFF) == chip)
        ++column;
    QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(column, 0));
    QApplication::processEvents();
    const std::vector<CountedUse> after = countedUses(chip);
    EXPECT_EQ(cellsOfStage22(after), cellsOfStage22(before) + 1);
    EXPECT_EQ(lines(list()), linesOf(after));
    EXPECT_NE(linesOf(after), linesOf(before));

    pressKey(Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(lines(list()), linesOf(before));
}

} // namespace
