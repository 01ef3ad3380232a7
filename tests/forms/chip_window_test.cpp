#include "tests/forms/main_window_test_support.h"

#include "forms/UnitChip.h"

#include <QToolButton>

namespace {

class ChipWindowTest : public MainWindowTest
{
protected:
    static QWidget *palette() { return control<QWidget>(FormChip, "ImageChip"); }

    static QImage shownPaletteCell(int column, int row)
    {
        return palette()->grab().toImage().copy(column * 32, row * 32, 32, 32).convertToFormat(QImage::Format_RGB32);
    }

    // The chip with the flips, optionally inverted, as the palette should show it.
    QImage pictureCell(int chip, bool hFlip, bool vFlip, bool inverted) const
    {
        QImage cell = chipPixels(chip, hFlip, vFlip);
        if (inverted)
            cell.invertPixels();
        return cell;
    }
};

TEST_F(ChipWindowTest, BeforeAnyRomTheWindowShowsNoPalette)
{
    pressKey(Qt::Key_F6);
    EXPECT_TRUE(FormChip->isVisible());
    EXPECT_TRUE(FormChip->toggleAction()->isChecked());
    EXPECT_EQ(FormChip->windowTitle(), QStringLiteral("Tileset Edit"));
    const Qt::WindowFlags flags = FormChip->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(palette()->isVisible());
}

TEST_F(ChipWindowTest, AClickChoosesThePenChipAndMovesTheHighlight)
{
    openDemoRom();
    activate(FormChip);
    ASSERT_TRUE(palette()->isVisible());
    const int chips = 16 * (session().ChipPicture->height() / 32);
    ASSERT_GT(chips, 0x13);
    EXPECT_EQ(palette()->size(), QSize(512, session().ChipPicture->height()));
    EXPECT_EQ(shownPaletteCell(0, 0), pictureCell(0, false, false, true)) << "chip 0 is the pen after a load";

    QTest::mouseClick(palette(), Qt::LeftButton, {}, QPoint(100, 40));
    EXPECT_EQ(session().Pen.CurrentChip, 0x13);
    EXPECT_EQ(statusPanel(1), QStringLiteral("現在のチップ:0013"));
    EXPECT_EQ(shownPaletteCell(3, 1), pictureCell(0x13, false, false, true));
    EXPECT_EQ(shownPaletteCell(0, 0), pictureCell(0, false, false, false));
}

TEST_F(ChipWindowTest, AnyButtonChoosesAndTheFlipsStay)
{
    openDemoRom();
    activate(FormChip);
    QTest::keyClick(FormChip, Qt::Key_F2);
    QTest::mouseClick(palette(), Qt::RightButton, {}, QPoint(5, 33));
    EXPECT_EQ(session().Pen.CurrentChip, 0x10);
    EXPECT_TRUE(session().Pen.VFlip);
    EXPECT_EQ(statusPanel(1), QStringLiteral("現在のチップ:0010 縦反転"));
}

TEST_F(ChipWindowTest, TheFlipKeysWorkInTheChipWindowAndItsButtonsFollowThem)
{
    openDemoRom();
    activate(FormChip);
    auto *hFlipButton = control<QToolButton>(FormChip, "ToolButton1");
    auto *vFlipButton = control<QToolButton>(FormChip, "ToolButton2");
    EXPECT_EQ(hFlipButton->toolTip(), QStringLiteral("Rotate Left"));
    EXPECT_EQ(vFlipButton->toolTip(), QStringLiteral("Rotate Down"));

    QTest::keyClick(FormChip, Qt::Key_F1);
    EXPECT_TRUE(session().Pen.HFlip);
    EXPECT_TRUE(hFlipButton->isChecked());
    EXPECT_FALSE(vFlipButton->isChecked());
    // The palette shows the left-right mirrored block.
    EXPECT_EQ(shownPaletteCell(2, 0), pictureCell(2, true, false, false));

    QTest::mouseClick(vFlipButton, Qt::LeftButton);
    EXPECT_TRUE(session().Pen.VFlip);
    EXPECT_TRUE(FormMain->MapEditVFlip->isChecked());
    EXPECT_EQ(shownPaletteCell(2, 0), pictureCell(2, true, true, false));
    EXPECT_EQ(statusPanel(1), QStringLiteral("現在のチップ:0000 横反転 縦反転"));

    QTest::keyClick(FormChip, Qt::Key_F1);
    EXPECT_FALSE(session().Pen.HFlip);
    EXPECT_FALSE(hFlipButton->isChecked());
}

TEST_F(ChipWindowTest, TheCloseBoxHidesTheWindowAndF6BringsItBack)
{
    openDemoRom();
    pressKey(Qt::Key_F6);
    ASSERT_TRUE(FormChip->isVisible());
    FormChip->close();
    EXPECT_FALSE(FormChip->isVisible());
    EXPECT_FALSE(FormChip->toggleAction()->isChecked());

    // A chip chosen on the map while the window was hidden shows when it comes back.
    QTest::mouseClick(imageMain(), Qt::RightButton, {}, QPoint(5, 5));
    const int chip = session().Pen.CurrentChip;
    pressKey(Qt::Key_F6);
    EXPECT_TRUE(FormChip->isVisible());
    EXPECT_TRUE(FormChip->toggleAction()->isChecked());
    ASSERT_LT(chip, 16 * (session().ChipPicture->height() / 32));
        EXPECT_EQ(shownPaletteCell(chip % 16, chip / 16),
                  pictureCell(chip, session().Pen.HFlip, session().Pen.VFlip, true));
}

} // namespace
