#include "forms/UnitBananaEdit.h"
#include "forms/UnitCameraEdit.h"
#include "forms/UnitChip.h"
#include "forms/UnitChipUses.h"
#include "forms/UnitOverview.h"
#include "forms/UnitSpriteEdit.h"
#include "tests/forms/editor_test_support.h"

#include <QAction>

namespace {

// The tool windows with their actions and their defaults; no key for those without one.
struct ToolWindowCase
{
    const char *section;
    QWidget *(*window)();
    QAction *(*action)();
    QRect defaults; // left, top, client width, client height
    Qt::Key key;
};

const ToolWindowCase ToolWindows[] = {
    {"ChipWindow", [] { return static_cast<QWidget *>(FormChip); },
     [] { return FormChip->toggleAction(); }, {0, 0, 512, 512}, Qt::Key_F6},
    {"SpriteWindow", [] { return static_cast<QWidget *>(FormSpriteEdit); },
     [] { return FormSpriteEdit->toggleAction(); }, {50, 50, 655, 265}, Qt::Key_F7},
    {"CameraWindow", [] { return static_cast<QWidget *>(FormCameraEdit); },
     [] { return FormCameraEdit->toggleAction(); }, {100, 100, 450, 265}, Qt::Key_F8},
    {"BananaWindow", [] { return static_cast<QWidget *>(FormBananaEdit); },
     [] { return FormBananaEdit->toggleAction(); }, {100, 100, 450, 265}, Qt::Key_F9},
    {"ChipUsesWindow", [] { return static_cast<QWidget *>(FormChipUses); },
     [] { return FormChipUses->toggleAction(); }, {200, 200, 300, 300}, Qt::Key_unknown},
    {"OverviewWindow", [] { return static_cast<QWidget *>(FormOverview); },
     [] { return FormOverview->toggleAction(); }, {0, 560, 800, 120}, Qt::Key_unknown},
};

class ToolWindowPlacementTest : public EditorTest
{
protected:
    static QRect placement(const QWidget *window)
    {
        return {window->pos(), window->size()};
    }
};

TEST_F(ToolWindowPlacementTest, FirstRunShowsNoToolWindowAndUsesTheDefaults)
{
    for (const ToolWindowCase &tool : ToolWindows) {
        EXPECT_FALSE(tool.window()->isVisible()) << tool.section;
        EXPECT_FALSE(tool.action()->isChecked()) << tool.section;
        EXPECT_EQ(placement(tool.window()), tool.defaults) << tool.section;
    }
}

TEST_F(ToolWindowPlacementTest, PlaceSizeAndVisibilitySurviveARestart)
{
    int shift = 0;
    for (const ToolWindowCase &tool : ToolWindows) {
        tool.action()->trigger();
        ASSERT_TRUE(tool.window()->isVisible()) << tool.section;
        // Partly off the screen, with enough of the title on it to stay as stored.
        tool.window()->move(-200 + shift, 300 + shift);
        tool.window()->resize(333 + shift, 222 + shift);
        shift += 10;
    }
    QApplication::processEvents();
    std::vector<QRect> before;
    for (const ToolWindowCase &tool : ToolWindows)
        before.push_back(placement(tool.window()));

    restart();
    for (size_t i = 0; i < std::size(ToolWindows); ++i) {
        const ToolWindowCase &tool = ToolWindows[i];
        EXPECT_TRUE(tool.window()->isVisible()) << tool.section;
        EXPECT_TRUE(tool.action()->isChecked()) << tool.section;
        EXPECT_EQ(placement(tool.window()), before[i]) << tool.section;
    }
    // The editors' list boxes fit the restored client height.
    EXPECT_EQ(control<QWidget>(FormSpriteEdit, "ListBoxSprite")->height(), before[1].height());
}

TEST_F(ToolWindowPlacementTest, AWindowClosedByItsCloseBoxComesBackHidden)
{
    for (const ToolWindowCase &tool : ToolWindows) {
        tool.action()->trigger();
        ASSERT_TRUE(tool.window()->isVisible());
        tool.window()->close();
        EXPECT_FALSE(tool.window()->isVisible()) << tool.section;
        EXPECT_FALSE(tool.action()->isChecked()) << tool.section;
    }
    restart();
    for (const ToolWindowCase &tool : ToolWindows) {
        EXPECT_FALSE(tool.window()->isVisible()) << tool.section;
        EXPECT_FALSE(tool.action()->isChecked()) << tool.section;
        EXPECT_EQ(session().ApplicationIni.readInteger(tool.section, "Visible", -1), 0) << tool.section;
    }
}

TEST_F(ToolWindowPlacementTest, EachFunctionKeyTogglesItsWindowAndTheCheckMarkFollows)
{
    FormMain->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(FormMain));
    for (const ToolWindowCase &tool : ToolWindows) {
        if (tool.key == Qt::Key_unknown)
            continue;
        for (bool shown : {true, false, true}) {
            FormMain->activateWindow();
            QTest::keyClick(FormMain, tool.key);
            EXPECT_EQ(tool.window()->isVisible(), shown) << tool.section;
            EXPECT_EQ(tool.action()->isChecked(), shown) << tool.section;
        }
    }
}

TEST_F(ToolWindowPlacementTest, AnEditorShownAtStartIsDisabledUntilARomIsOpen)
{
    FormSpriteEdit->show();
    restart();
    ASSERT_TRUE(FormSpriteEdit->isVisible());
    EXPECT_FALSE(control<QWidget>(FormSpriteEdit, "ButtonUpdate")->isEnabled());
    openDemoRom();
    EXPECT_TRUE(control<QWidget>(FormSpriteEdit, "ButtonUpdate")->isEnabled());
    EXPECT_GT(control<QListWidget>(FormSpriteEdit, "ListBoxSprite")->count(), 0);
}

} // namespace
