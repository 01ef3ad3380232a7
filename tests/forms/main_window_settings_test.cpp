#include "tests/forms/main_window_test_support.h"

#include "core/ini_file.h"
#include "forms/UnitBananaEdit.h"
#include "forms/UnitCameraEdit.h"
#include "forms/UnitChip.h"
#include "forms/UnitChipUses.h"
#include "forms/UnitHistory.h"
#include "forms/UnitOverview.h"
#include "forms/UnitSpriteEdit.h"
#include "forms/screen_size.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

#include <filesystem>

namespace {

class MainWindowSettingsTest : public MainWindowTest
{
protected:
    tamo::IniFile savedSettings() const { return tamo::IniFile::load(dataFile("Config/application.ini")); }

    // Tool bar, map and status bar: the client area of the stored settings.
    static QSize areaBelowTheMenuBar()
    {
        const int menuBottom = FormMain->menuBar()->geometry().bottom();
        EXPECT_EQ(control<QToolBar>(FormMain, "ToolBar1")->geometry().top(), menuBottom + 1);
        return {FormMain->width(), FormMain->height() - (menuBottom + 1)};
    }

    static std::vector<ToolWindow *> toolWindows()
    {
        return {FormChip, FormSpriteEdit, FormCameraEdit, FormBananaEdit, FormHistory, FormChipUses, FormOverview};
    }
    static std::vector<QAction *> toolWindowActions()
    {
        return {FormChip->toggleAction(), FormSpriteEdit->toggleAction(), FormCameraEdit->toggleAction(),
                FormBananaEdit->toggleAction(), FormHistory->toggleAction(), FormChipUses->toggleAction(),
                FormOverview->toggleAction()};
    }
};

TEST_F(MainWindowSettingsTest, AFirstStartWithoutSettingsUsesTheDefaults)
{
    ASSERT_FALSE(std::filesystem::exists(dataFile("Config/application.ini")));
    EXPECT_EQ(FormMain->windowTitle(), QStringLiteral("Tamo Editor[*]"));
    EXPECT_FALSE(FormMain->isWindowModified());
    EXPECT_EQ(areaBelowTheMenuBar(), QSize(450, 350));
    EXPECT_EQ(FormMain->pos(), QPoint(0, 0));
    EXPECT_FALSE(FormMain->isMaximized());
    EXPECT_EQ(session().LevelNumber, 22);
    EXPECT_FALSE(session().RomLoaded);
    for (QAction *mark : {FormMain->ViewSpriteMark, FormMain->ViewCameraMark, FormMain->ViewStartMark})
        EXPECT_TRUE(mark->isChecked()) << mark->objectName().toStdString();
    EXPECT_TRUE(session().MarkSwitches.ShowSpriteMarks && session().MarkSwitches.ShowCameraMarks
                && session().MarkSwitches.ShowStartMark);
    for (ToolWindow *window : toolWindows())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    for (QAction *action : toolWindowActions())
        EXPECT_FALSE(action->isChecked()) << action->objectName().toStdString();
    EXPECT_FALSE(imageMain()->isVisible());
    EXPECT_EQ(FormChip->pos(), QPoint(0, 0));
    EXPECT_EQ(FormChip->size(), QSize(512, 512));

    auto *dialog = control<QFileDialog>(FormMain, "OpenDialog1");
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(),
              QDir(QString::fromStdString(programDir().string())).canonicalPath());
    EXPECT_EQ(dialog->nameFilters(),
              (QStringList{QStringLiteral("SNES ROM (*.smc)"), QStringLiteral("All files (*.*)")}));
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("smc"));
}

TEST_F(MainWindowSettingsTest, ClosingWritesTheSettingsInTheirOrderOnce)
{
    FormMain->close();
    const tamo::IniFile ini = savedSettings();
    EXPECT_EQ(ini.sections(),
              (std::vector<std::string>{"MainWindow", "View", "Stage", "ChipWindow", "SpriteWindow",
                                        "CameraWindow", "BananaWindow", "HistoryWindow", "ChipUsesWindow",
                                        "OverviewWindow", "MapView"}))
        << "no FileDialog section before a ROM was opened";
    EXPECT_EQ(ini.keys("MainWindow"),
              (std::vector<std::string>{"Left", "Top", "ClientWidth", "ClientHeight", "isMaximized"}));
    EXPECT_EQ(ini.keys("View"), (std::vector<std::string>{"Sprite", "Camera", "Start"}));
    EXPECT_EQ(ini.keys("ChipWindow"),
              (std::vector<std::string>{"Left", "Top", "ClientWidth", "ClientHeight", "Visible"}));
    EXPECT_EQ(ini.value("MainWindow", "ClientWidth"), "450");
    EXPECT_EQ(ini.value("MainWindow", "isMaximized"), "0");
    EXPECT_EQ(ini.value("Stage", "Latest"), "22");
    EXPECT_EQ(ini.value("View", "Camera"), "1");
}

TEST_F(MainWindowSettingsTest, TheStoredClientSizeIsTheAreaBelowTheMenuBar)
{
    FormMain->resize(600, 420 + FormMain->menuBar()->height());
    ASSERT_EQ(areaBelowTheMenuBar(), QSize(600, 420));
    FormMain->close();
    EXPECT_EQ(savedSettings().value("MainWindow", "ClientWidth"), "600");
    EXPECT_EQ(savedSettings().value("MainWindow", "ClientHeight"), "420");
}

class StoredClientSizeTest : public MainWindowSettingsTest
{
protected:
    void SetUp() override
    {
        makeFolder();
        writeText("Config/application.ini", "[MainWindow]\nClientWidth=500\nClientHeight=300\n");
        createWindows();
    }
};

TEST_F(StoredClientSizeTest, ASettingsFileFromElsewhereGivesThatAreaBelowTheMenuBar)
{
    EXPECT_EQ(areaBelowTheMenuBar(), QSize(500, 300));
}

TEST_F(MainWindowSettingsTest, PlaceSwitchesStageAndToolWindowsComeBackInTheNextRun)
{
    openDemoRom();
    FormMain->move(30, 40);
    FormMain->resize(600, 420);
    pressKey(Qt::Key_F3);
    ASSERT_FALSE(session().MarkSwitches.ShowSpriteMarks);
    session().LevelNumber = 57;
    pressKey(Qt::Key_F6);
    pressKey(Qt::Key_F8);
    FormChip->move(700, 20);
    FormChip->resize(300, 200);

    restart();

    EXPECT_EQ(FormMain->pos(), QPoint(30, 40));
    EXPECT_EQ(FormMain->size(), QSize(600, 420));
    EXPECT_FALSE(session().MarkSwitches.ShowSpriteMarks);
    EXPECT_FALSE(FormMain->ViewSpriteMark->isChecked());
    EXPECT_TRUE(FormMain->ViewCameraMark->isChecked());
    EXPECT_EQ(session().LevelNumber, 57);
    EXPECT_TRUE(FormChip->isVisible());
    EXPECT_TRUE(FormChip->toggleAction()->isChecked());
    EXPECT_EQ(FormChip->pos(), QPoint(700, 20));
    EXPECT_EQ(FormChip->size(), QSize(300, 200));
    EXPECT_TRUE(FormCameraEdit->isVisible());
    EXPECT_TRUE(FormCameraEdit->toggleAction()->isChecked());
    EXPECT_FALSE(FormSpriteEdit->isVisible());
    EXPECT_FALSE(FormSpriteEdit->toggleAction()->isChecked());

    // The folder of the ROM, with its trailing separator, is where the dialog starts.
    const std::string folder = QDir::toNativeSeparators(QFileInfo(demoRom()).absolutePath() + '/').toStdString();
    EXPECT_EQ(savedSettings().value("FileDialog", "InitialDir"), folder);
    auto *dialog = control<QFileDialog>(FormMain, "OpenDialog1");
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QFileInfo(demoRom()).canonicalPath());
}

TEST_F(MainWindowSettingsTest, AWindowClosedMaximizedComesBackMaximizedWithItsNormalPlaceKept)
{
    FormMain->move(25, 35);
    FormMain->resize(500, 380);
    restart();
    FormMain->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([] { return FormMain->isMaximized(); }));
    FormMain->close();
    tamo::IniFile ini = savedSettings();
    EXPECT_EQ(ini.value("MainWindow", "isMaximized"), "1");
    EXPECT_EQ(ini.value("MainWindow", "Left"), "25");
    EXPECT_EQ(ini.value("MainWindow", "ClientWidth"), "500");

    restart();
    EXPECT_TRUE(FormMain->isMaximized());
    FormMain->showNormal();
    ASSERT_TRUE(QTest::qWaitFor([] { return !FormMain->isMaximized(); }));
    EXPECT_EQ(FormMain->size(), QSize(500, 380));
    EXPECT_EQ(FormMain->pos(), QPoint(25, 35));
}

TEST_F(MainWindowSettingsTest, ClosingWithoutARomKeepsTheStoredFolder)
{
    FormMain->close();
    tamo::IniFile ini = savedSettings();
    ini.writeString("FileDialog", "InitialDir", "/somewhere/roms/");
    ini.save(dataFile("Config/application.ini"));

    restart();
    FormMain->close();
    EXPECT_EQ(savedSettings().value("FileDialog", "InitialDir"), "/somewhere/roms/");
}

TEST_F(MainWindowSettingsTest, AToolWindowClosedByItsCloseBoxIsStoredHidden)
{
    pressKey(Qt::Key_F7);
    ASSERT_TRUE(FormSpriteEdit->isVisible());
    ASSERT_TRUE(FormSpriteEdit->toggleAction()->isChecked());
    FormSpriteEdit->close();
    EXPECT_FALSE(FormSpriteEdit->isVisible());
    EXPECT_FALSE(FormSpriteEdit->toggleAction()->isChecked());
    pressKey(Qt::Key_F9);
    restart();
    EXPECT_EQ(savedSettings().value("SpriteWindow", "Visible"), "0");
    EXPECT_EQ(savedSettings().value("BananaWindow", "Visible"), "1");
    EXPECT_FALSE(FormSpriteEdit->isVisible());
    EXPECT_TRUE(FormBananaEdit->isVisible());
    EXPECT_TRUE(FormBananaEdit->toggleAction()->isChecked());
}

// A stored place that would show too little of a window's title to reach it moves the
// window onto the screen nearest to it; one with enough of it on the screen stays.
TEST_F(MainWindowSettingsTest, PlacesOffTheScreenMoveOntoItAndPlacesOnItStay)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    FormMain->close();
    tamo::IniFile ini = savedSettings();
    ini.writeInteger("MainWindow", "Left", 2000000000);
    ini.writeInteger("MainWindow", "Top", -2000000000);
    ini.writeInteger("SpriteWindow", "Left", -5000);
    ini.writeInteger("SpriteWindow", "Top", 9000);
    ini.writeInteger("SpriteWindow", "ClientWidth", 333);
    ini.writeString("SpriteWindow", "Visible", "7");
    // 100 pixels of the title on the screen: as stored.
    ini.writeInteger("CameraWindow", "Left", screen.left() - 200);
    ini.writeInteger("CameraWindow", "Top", screen.top() + 100);
    ini.writeInteger("CameraWindow", "ClientWidth", 300);
    ini.save(dataFile("Config/application.ini"));
    restart();

    EXPECT_EQ(FormMain->pos(), QPoint(screen.right() + 1 - FormMain->width(), screen.top()));
    EXPECT_EQ(FormSpriteEdit->pos(), QPoint(screen.left(), screen.bottom() + 1 - FormSpriteEdit->height()));
    EXPECT_EQ(FormSpriteEdit->width(), 333);
    EXPECT_TRUE(FormSpriteEdit->isVisible()) << "any non-zero number reads as true";
    EXPECT_EQ(FormCameraEdit->pos(), QPoint(screen.left() - 200, screen.top() + 100));

    // The places the windows were given are the ones stored.
    FormMain->close();
    EXPECT_EQ(savedSettings().readInteger("MainWindow", "Left", 0), screen.right() + 1 - FormMain->width());
    EXPECT_EQ(savedSettings().readInteger("SpriteWindow", "Top", 0), screen.bottom() + 1 - FormSpriteEdit->height());
}

// Several screens, as a second monitor gives them: their available areas as Qt tells them.
TEST(ScreenPlacement, APlaceOnAnyScreenStaysAndOneOffEveryScreenGoesToTheNearest)
{
    const QList<QRect> screens{QRect(0, 0, 1920, 1040), QRect(1920, -200, 1280, 1024)};
    const QSize size(400, 300);
    struct Case
    {
        QPoint stored;
        QPoint placed;
    };
    const Case cases[] = {
        {{2500, 500}, {2500, 500}},    // on the second monitor
        {{3100, -200}, {3100, -200}},  // 100 pixels of its title on the second
        {{1800, 950}, {1800, 950}},    // across both, 120 x 50 of its title on the first
        {{3101, 0}, {2800, 0}},        // 99 pixels: inside the second's right edge
        {{500, -30}, {500, 0}},        // its title's top above the first
        {{1000, 1000}, {1000, 740}},   // 40 pixels of its title above the first's bottom
        {{2000000000, -2000000000}, {2800, -200}},
        {{-2000000000, 2000000000}, {0, 740}},
    };
    for (const Case &place : cases)
        EXPECT_EQ(placeOnScreens(place.stored, size, screens), place.placed)
            << place.stored.x() << ", " << place.stored.y();
    // A window larger than the nearest screen goes to its top-left corner.
    EXPECT_EQ(placeOnScreens({5000, 5000}, QSize(3000, 2000), screens), QPoint(1920, -200));
    EXPECT_EQ(placeOnScreens({-7, -7}, size, {}), QPoint(-7, -7)) << "without screens, as stored";
}

// A stored stage that is no stage reads as stage 22, which then shows without a word.
TEST_F(MainWindowSettingsTest, AStoredStageNumberThatIsNoStageReadsAsStage22)
{
    struct Case
    {
        const char *stored;
        int level;
    };
    for (const Case &latest : {Case{"2000000000", 22}, Case{"230", 22}, Case{"-1", 22}, Case{"x", 22},
                               Case{"229", 229}, Case{"0", 0}, Case{"$E5", 229}}) {
        FormMain->close();
        tamo::IniFile ini = savedSettings();
        ini.writeString("Stage", "Latest", latest.stored);
        ini.save(dataFile("Config/application.ini"));
        restart();
        messages.clear();
        EXPECT_EQ(session().LevelNumber, latest.level) << latest.stored;
        openDemoRom();
        EXPECT_TRUE(session().StageShown()) << latest.stored;
        EXPECT_EQ(session().Stage.LevelNumber, latest.level) << latest.stored;
        EXPECT_TRUE(messages.isEmpty()) << latest.stored << ": " << messages.join('\n').toStdString();
    }
}

TEST_F(MainWindowSettingsTest, AbsurdStoredSizesAreCutToTheScreenAndPlacesKept)
{
    FormMain->close();
    tamo::IniFile ini = savedSettings();
    for (const char *section : {"MainWindow", "ChipWindow", "SpriteWindow"}) {
        const int size = std::string(section) == "SpriteWindow" ? 33000 : 2000000000;
        ini.writeInteger(section, "ClientWidth", size);
        ini.writeInteger(section, "ClientHeight", size);
        ini.writeInteger(section, "Left", 40);
        ini.writeInteger(section, "Top", 30);
    }
    ini.writeBool("ChipWindow", "Visible", true);
    // A size that fits stays as stored.
    ini.writeInteger("CameraWindow", "ClientWidth", 300);
    ini.writeInteger("CameraWindow", "ClientHeight", 200);
    ini.save(dataFile("Config/application.ini"));

    restart();
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    ASSERT_LT(screen.width(), 33000);
    for (QWidget *window : std::vector<QWidget *>{FormMain, FormChip, FormSpriteEdit}) {
        EXPECT_LE(window->width(), screen.width()) << window->objectName().toStdString();
        EXPECT_LE(window->height(), screen.height()) << window->objectName().toStdString();
        EXPECT_GE(window->width(), screen.width() / 2) << "cut to the screen, not to a default";
        EXPECT_EQ(window->pos(), QPoint(40, 30)) << window->objectName().toStdString();
    }
    EXPECT_EQ(FormCameraEdit->size(), QSize(300, 200));
    EXPECT_TRUE(FormChip->isVisible());

    // The program ends normally, and the sizes stored are the ones the windows had.
    FormMain->close();
    EXPECT_FALSE(FormMain->isVisible());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(savedSettings().readInteger("ChipWindow", "ClientWidth", 0), FormChip->width());
}

TEST_F(MainWindowSettingsTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheWindowStillCloses)
{
    std::filesystem::remove_all(dataFile("Config"));
    // A file where the folder should be: nothing can be written under it.
    writeText("Config", "not a folder");
    FormMain->close();
    EXPECT_FALSE(FormMain->isVisible());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("application.ini"))) << messages.first().toStdString();
}

} // namespace
