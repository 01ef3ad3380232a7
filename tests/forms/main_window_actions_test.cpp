#include "tests/forms/main_window_test_support.h"

#include "core/stage.h"
#include "forms/UnitCameraEdit.h"
#include "forms/UnitChip.h"
#include "forms/UnitSpriteEdit.h"
#include "forms/application_windows.h"
#include "files/file_names.h"
#include "forms/message_box.h"
#include "view/canvas.h"

#include <QComboBox>
#include <QFileDialog>
#include <QPushButton>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QWindow>

#include <filesystem>

namespace {

class MainWindowActionsTest : public MainWindowTest
{
protected:
    static std::vector<QAction *> romActions()
    {
        return {FormMain->FileSave, FormMain->StageLoad, FormMain->StageConfig,
                FormMain->ViewSpriteMark, FormMain->ViewCameraMark, FormMain->ViewStartMark,
                FormMain->FileExportImage, FormMain->FileExportPatch, FormMain->FileApplyPatch, FormMain->EditPaste,
                FormMain->StageTestInEmulator, FormMain->EditReplaceChip};
    }

    static void openThroughTheDialog(const QString &typed)
    {
        whenModalShown([typed](QWidget *dialog) { typeAndAccept(dialog, typed); });
        pressKey(Qt::Key_O, Qt::ControlModifier);
    }

    void loadStageThroughTheDialog(int level)
    {
        whenModalShown([level](QWidget *dialog) {
            typeInto(control<QLineEdit>(dialog, "EditLevelNo"), QString::number(level));
            clickButton(dialog, "ButtonOK");
        });
        pressKey(Qt::Key_L, Qt::ControlModifier);
    }
};

TEST_F(MainWindowActionsTest, TheMenusHoldTheActionsUnderTheirCaptionsAndShortcuts)
{
    const QList<QAction *> menus = FormMain->menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus.at(0)->text(), QStringLiteral("File(&F)"));
    EXPECT_EQ(menus.at(1)->text(), QStringLiteral("Edit(&T)"));
    EXPECT_EQ(menus.at(2)->text(), QStringLiteral("View(&V)"));
    EXPECT_EQ(menus.at(3)->text(), QStringLiteral("Settings(&S)"));
    auto entries = [&menus](int menu) {
        QStringList texts;
        for (QAction *entry : menus.at(menu)->menu()->actions())
            texts << (entry->isSeparator() ? QStringLiteral("-") : entry->text() + QLatin1Char('|') + entry->shortcut().toString());
        return texts;
    };
    EXPECT_EQ(entries(0), (QStringList{"Open(&O)...|Ctrl+O", "Save(&S)|Ctrl+S", "Restore Points(&R)...|",
                                       "Export Image(&E)...|Ctrl+E", "Export Patch(&P)...|",
                                       "Apply Patch(&A)...|", "Exit(&X)|"}));
    EXPECT_EQ(entries(1), (QStringList{"Undo|Ctrl+Z", "Redo|Ctrl+Y", "-", "Cut(&T)|Ctrl+X",
                                       "Copy(&C)|Ctrl+C", "Paste(&P)|Ctrl+V", "Delete(&D)|Del",
                                       "Fill(&F)|F", "Select None(&N)|Esc", "-", "Replace Chip(&R)...|"}));
    EXPECT_EQ(FormMain->EditRedo->shortcuts().value(1), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EXPECT_EQ(FormMain->ViewZoomIn->shortcuts().value(1), QKeySequence(Qt::CTRL | Qt::Key_Plus));
    EXPECT_EQ(entries(2), (QStringList{"Sprites(&S)|F3", "Cameras(&C)|F4", "StartPositions(&P)|F5", "-",
                                       "Zoom In(&I)|Ctrl+=", "Zoom Out(&O)|Ctrl+-",
                                       "Actual Size(&A)|Ctrl+0", "Grid(&G)|Ctrl+G",
                                       "Screen Lines(&L)|Ctrl+Shift+G", "Highlight Chip Uses(&T)|", "-", "Paint tiles|B", "Move objects|S", "-",
                                       "Tilemap(&M)|F6", "SpriteEdit(&E)|F7", "CameraEdit(&D)|F8",
                                       "BananaEdit(&B)|F9", "History(&H)|Ctrl+H", "Chip Uses(&U)|",
                                       "Overview(&W)|"}));
    EXPECT_EQ(entries(3), (QStringList{"Stage(&L)...|Ctrl+L", "Config(&C)...|F12", "-", "Test in Emulator(&R)|Ctrl+R",
                                       "Emulator(&E)...|"}));
    // Alt+T reaches the Edit menu alone among the menus and the tool buttons.
    for (QAction *action : menus + control<QToolBar>(FormMain, "ToolBar1")->actions()) {
        const QString text = action->menu() ? action->text() : action->iconText();
        if (action != menus.at(1)) {
            EXPECT_FALSE(text.contains(QStringLiteral("&T"), Qt::CaseInsensitive)) << text.toStdString();
        }
    }
    EXPECT_EQ(FormMain->MapEditHFlip->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(FormMain->MapEditVFlip->shortcut(), QKeySequence(Qt::Key_F2));
}

TEST_F(MainWindowActionsTest, NoTwoEntriesOfAMenuShareTheirAltKey)
{
    for (QAction *menu : FormMain->menuBar()->actions()) {
        QStringList keys;
        for (QAction *entry : menu->menu()->actions()) {
            const qsizetype mark = entry->text().indexOf(QLatin1Char('&'));
            if (mark < 0 || mark + 1 >= entry->text().size())
                continue;
            const QString key = entry->text().mid(mark + 1, 1).toUpper();
            EXPECT_FALSE(keys.contains(key)) << menu->text().toStdString() << ": " << entry->text().toStdString();
            keys << key;
        }
    }
}

TEST_F(MainWindowActionsTest, TheToolBarHoldsTheButtonsInTheirOrderWithTheirTips)
{
    auto *toolBar = control<QToolBar>(FormMain, "ToolBar1");
    QStringList buttons;
    for (QAction *action : toolBar->actions())
        buttons << (action->isSeparator() ? QStringLiteral("-") : action->iconText() + QLatin1Char('|') + action->toolTip());
    EXPECT_EQ(buttons, (QStringList{"Open(&O)...|Open File", "Save(&S)|Save file", "-",
                                    "Undo|Undo", "Redo|Redo", "Fill|Fill the selection with the pen", "-",
                                    "Paint tiles|Paint tiles", "Move objects|Move objects", "-",
                                    "Load Stage(&L)...|Load Stage", "Stage Config(&C)...|Stage Config",
                                    "Test in Emulator|Test in Emulator", "-",
                                    "Tilemap(&M)|Tilemap", "Sprites(&E)|Sprites", "Cameras(&D)|Cameras",
                                    "Bananas(&B)|Bananas"}));
    // Sixteen pictures of 16 x 16, each one different.
    QList<QImage> pictures;
    for (QAction *action : toolBar->actions() + QList<QAction *>{FormMain->MapEditHFlip, FormMain->MapEditVFlip}) {
        if (action->isSeparator())
            continue;
        const QImage picture = action->icon().pixmap(16, 16).toImage();
        EXPECT_EQ(picture.size(), QSize(16, 16));
        EXPECT_FALSE(pictures.contains(picture)) << action->objectName().toStdString();
        pictures << picture;
    }
    EXPECT_EQ(pictures.size(), 16);
}

TEST_F(MainWindowActionsTest, TheInterfaceFontIsAJapaneseFontOf12Pixels)
{
    const QFontInfo font(FormMain->font());
    EXPECT_EQ(font.pixelSize(), 12);
    EXPECT_TRUE(font.family().contains(QStringLiteral("CJK"))) << font.family().toStdString();
}

TEST_F(MainWindowActionsTest, BeforeARomTheRomActionsAreDisabledAndDoNothing)
{
    for (QAction *action : romActions())
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
    // A dialog opened by mistake would be closed here and counted.
    int dialogsOpened = 0;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&dialogsOpened] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            ++dialogsOpened;
            dialog->close();
        }
    });
    guard.start(10);
    pressKey(Qt::Key_S, Qt::ControlModifier);
    pressKey(Qt::Key_L, Qt::ControlModifier);
    pressKey(Qt::Key_F12);
    pressKey(Qt::Key_F3);
    pressKey(Qt::Key_F4);
    pressKey(Qt::Key_F5);
    QTest::qWait(30);
    EXPECT_EQ(dialogsOpened, 0);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(session().MarkSwitches.ShowSpriteMarks && session().MarkSwitches.ShowCameraMarks
                && session().MarkSwitches.ShowStartMark);
}

TEST_F(MainWindowActionsTest, BeforeARomTheFlipsAndTheWindowKeysWork)
{
    pressKey(Qt::Key_F1);
    EXPECT_TRUE(session().Pen.HFlip);
    EXPECT_TRUE(FormMain->MapEditHFlip->isChecked());
    EXPECT_EQ(statusPanel(1), QStringLiteral("現在のチップ:0000 横反転"));
    pressKey(Qt::Key_F2);
    EXPECT_EQ(statusPanel(1), QStringLiteral("現在のチップ:0000 横反転 縦反転"));

    pressKey(Qt::Key_F7);
    EXPECT_TRUE(FormSpriteEdit->isVisible());
    EXPECT_TRUE(FormSpriteEdit->toggleAction()->isChecked());
    // The keys also work while the tool window is the active one.
    activate(FormSpriteEdit);
    QTest::keyClick(FormSpriteEdit, Qt::Key_F7);
    EXPECT_FALSE(FormSpriteEdit->isVisible());
    EXPECT_FALSE(FormSpriteEdit->toggleAction()->isChecked());

    activate(FormMain);
    pressKey(Qt::Key_F8);
    EXPECT_TRUE(FormCameraEdit->isVisible());
    activate(FormCameraEdit);
    QTest::keyClick(FormCameraEdit, Qt::Key_F6);
    EXPECT_TRUE(FormChip->isVisible());
    EXPECT_TRUE(FormChip->toggleAction()->isChecked());
}

TEST_F(MainWindowActionsTest, OpeningAMissingFileReportsItAndLeavesNoRom)
{
    const QString missing = QString::fromStdString(dataFile("missing.smc").string());
    FormMain->Files->OpenRom(missing);
    EXPECT_EQ(messages, QStringList{missing + QStringLiteral("の読み込みに失敗しました。")});
    EXPECT_FALSE(session().RomLoaded);
    EXPECT_TRUE(session().RomFileName.isEmpty());
    for (QAction *action : romActions())
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
    EXPECT_FALSE(imageMain()->isVisible());
}

TEST_F(MainWindowActionsTest, AFailedOpenKeepsTheRomAndStageShownBefore)
{
    openDemoRom();
    QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(0, 0));
    const std::vector<uint8_t> edited = romBytes();
    const tamo::Stage stage = session().Stage;

    // A folder cannot be read as a file.
    const QString folder = QString::fromStdString(dataFile("Data").string());
    FormMain->Files->OpenRom(folder);
    EXPECT_EQ(messages, QStringList{folder + QStringLiteral("の読み込みに失敗しました。")});
    EXPECT_EQ(session().RomFileName, demoRom());
    EXPECT_EQ(romBytes(), edited);
    EXPECT_EQ(session().Stage.TilemapOffset, stage.TilemapOffset);
    EXPECT_EQ(session().Stage.MapWidth, stage.MapWidth);
    EXPECT_TRUE(imageMain()->isVisible());
    for (QAction *action : romActions())
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
}

TEST_F(MainWindowActionsTest, TheOpenDialogAddsTheRomExtensionAndOpensTheStoredStage)
{
    session().LevelNumber = 31;
    openThroughTheDialog(QStringLiteral("demo"));
    EXPECT_TRUE(session().RomLoaded);
    EXPECT_EQ(QFileInfo(session().RomFileName).canonicalFilePath(), QFileInfo(demoRom()).canonicalFilePath());
    EXPECT_EQ(session().Stage.LevelNumber, 31);
    EXPECT_TRUE(imageMain()->isVisible());
    EXPECT_EQ(imageMain()->size(), QSize(session().Stage.MapWidth * 32, session().Stage.MapHeight * 32));
    for (QAction *action : romActions())
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
}

TEST_F(MainWindowActionsTest, TheOpenDialogRefusesAFolderThatDoesNotExist)
{
    QStringList shownWhileOpen;
    bool stillOpen = false;
    whenModalShown([&](QWidget *dialog) {
        typeAndAccept(dialog, QStringLiteral("nowhere/game.smc"));
        stillOpen = dialog->isVisible();
        shownWhileOpen = messages;
        dialog->close();
    });
    pressKey(Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(shownWhileOpen.size(), 1);
    EXPECT_FALSE(session().RomLoaded);
}

TEST_F(MainWindowActionsTest, TheAllFilesEntryListsNamesWithoutADot)
{
    writeText("ROMFILE", "a ROM without an extension");
    QStringList shown;
    QString entry;
    whenModalShown([&](QWidget *dialog) {
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
        ASSERT_TRUE(types && view);
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        entry = types->currentText();
        const auto listed = [&] {
            shown.clear();
            const QModelIndex folder = view->rootIndex();
            for (int row = 0; row < view->model()->rowCount(folder); ++row)
                shown << view->model()->index(row, 0, folder).data().toString();
            return shown.contains(QStringLiteral("ROMFILE"));
        };
        EXPECT_TRUE(QTest::qWaitFor(listed)) << "the file list never showed ROMFILE";
        dialog->close();
    });
    pressKey(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(entry, QStringLiteral("All files (*.*)"));
    EXPECT_TRUE(shown.contains(QStringLiteral("ROMFILE"))) << shown.join(' ').toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("demo.smc"))) << shown.join(' ').toStdString();
}

TEST_F(MainWindowActionsTest, StagesOfOtherScreenModesShowANoteOverTheEmptyImageOnly)
{
    openDemoRom();
    auto *scrollBox = control<QScrollArea>(FormMain, "ScrollBox1");
    const QImage stage22 = scrollBox->viewport()->grab().toImage();
    // Stage 7 of the demo set is of screen mode 1.
    loadStageThroughTheDialog(7);
    ASSERT_EQ(session().Stage.ScreenMode, 1);
    // Whether an area of the view shows anything but the empty image.
    const auto marked = [&](const QRect &area) {
        const QImage shown = scrollBox->viewport()->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
        const tamo::Rgb empty = tamo::BackgroundColor;
        QImage plain(shown.size(), QImage::Format_RGB32);
        plain.fill(QColor(empty.red, empty.green, empty.blue));
        return shown != plain;
    };
    const QRect centre(scrollBox->viewport()->rect().center() - QPoint(40, 4), QSize(80, 8));
    EXPECT_TRUE(marked(centre)) << "the note stands in the middle of the view";
    EXPECT_FALSE(marked(QRect(0, 0, 32, 32)));

    // Scrolled, the note stays in the middle of the view: it is not part of the picture.
    scrollBox->verticalScrollBar()->setValue(20 * 32);
    QApplication::processEvents();
    EXPECT_TRUE(marked(centre));
    EXPECT_FALSE(marked(QRect(0, 0, 32, 32)));

    // A stage of mode 0 shows its map without the note.
    loadStageThroughTheDialog(22);
    scrollBox->verticalScrollBar()->setValue(0);
    QApplication::processEvents();
    EXPECT_EQ(scrollBox->viewport()->grab().toImage(), stage22);
}

TEST_F(MainWindowActionsTest, SavingWritesTheWholeImageAndSaysSo)
{
    openDemoRom();
    session().PaletteClick(32 * 3 + 1, 1);
    QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(2, 2));
    const std::vector<uint8_t> edited = romBytes();
    pressKey(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(messages, QStringList{demoRom() + QStringLiteral("を保存しました。")});
    const std::string onDisk = readText("demo.smc");
    EXPECT_EQ(std::vector<uint8_t>(onDisk.begin(), onDisk.end()), edited);
}

TEST_F(MainWindowActionsTest, AFailedSaveShowsTheErrorNeverTheSuccessAndKeepsTheImage)
{
    openDemoRom();
    QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(2, 2));
    const std::vector<uint8_t> edited = romBytes();
    std::filesystem::remove(dataFile("demo.smc"));

    pressKey(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_FALSE(messages.first().endsWith(QStringLiteral("を保存しました。"))) << messages.first().toStdString();
    EXPECT_TRUE(messages.first().contains(QStringLiteral("demo.smc"))) << messages.first().toStdString();
    EXPECT_FALSE(std::filesystem::exists(dataFile("demo.smc"))) << "saving never creates the file";
    EXPECT_EQ(romBytes(), edited);
    // The program goes on: the next save, once the file is back, works.
    writeText("demo.smc", "");
    pressKey(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(messages.last(), demoRom() + QStringLiteral("を保存しました。"));
}

TEST_F(MainWindowActionsTest, AChipBitmapThatCannotBeReadIsReportedAndLeavesTheMapHidden)
{
    openDemoRom();
    const tamo::Stage before = session().Stage;
    const int other = stageWithOtherTilemap();
    ASSERT_GE(other, 0);
    const int tilemap = fgTilemapOf(other);
    const std::string chipFile = "Data/chip" + std::to_string(tilemap) + ".bmp";
    std::filesystem::remove(dataFile(chipFile));

    loadStageThroughTheDialog(other);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("chip%1.bmp").arg(tilemap))) << messages.first().toStdString();
    EXPECT_FALSE(imageMain()->isVisible());
    EXPECT_EQ(session().LevelNumber, other);
    EXPECT_EQ(session().Stage.FGTilemap, tilemap);
    EXPECT_EQ(session().ChipPicture, nullptr);
    EXPECT_EQ(session().Stage.TilemapOffset, before.TilemapOffset);
    EXPECT_EQ(session().Stage.CameraBlockOffset, before.CameraBlockOffset);
    EXPECT_EQ(session().Stage.MapWidth, before.MapWidth);

    // The program goes on, and the next good load shows the map again.
    loadStageThroughTheDialog(before.LevelNumber);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(imageMain()->isVisible());
    EXPECT_NE(session().ChipPicture, nullptr);
}

TEST_F(MainWindowActionsTest, AChipBitmapCutShortIsRefusedAndLeavesNoEarlierPictureOnScreen)
{
    openDemoRom();
    activate(FormChip);
    auto *palette = control<QWidget>(FormChip, "ImageChip");
    ASSERT_GT(palette->height(), 0);
    const int other = stageWithOtherTilemap();
    ASSERT_GE(other, 0);
    const std::string chipFile = "Data/chip" + std::to_string(fgTilemapOf(other)) + ".bmp";
    writeText(chipFile, readText(chipFile).substr(0, 100));

    loadStageThroughTheDialog(other);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QString::fromStdString(std::filesystem::path(chipFile).filename().string())
                                          + QStringLiteral(": the bitmap cannot be read")))
        << messages.first().toStdString();
    EXPECT_FALSE(imageMain()->isVisible());
    EXPECT_EQ(session().ChipPicture, nullptr);
    EXPECT_EQ(palette->height(), 0) << "the chips of the stage before are gone from the palette";
}

// The temporary folder's own removal goes through Qt, which cannot name a file whose name
// is not UTF-8: such a file is removed when the test ends, however it ends.
struct RemovedAtEnd
{
    std::filesystem::path path;
    ~RemovedAtEnd()
    {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

class CommandLineTest : public MainWindowTest
{
protected:
    void SetUp() override { makeFolder(); }
};

TEST_F(CommandLineTest, TheRomNamedOnTheCommandLineOpensOnFirstShowAtTheStoredStage)
{
    writeText("Config/application.ini", "[Stage]\nLatest=40\n");
    createWindows(demoRom());
    EXPECT_TRUE(session().RomLoaded);
    EXPECT_EQ(session().RomFileName, demoRom());
    EXPECT_EQ(session().Stage.LevelNumber, 40);
    EXPECT_TRUE(imageMain()->isVisible());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CommandLineTest, StageTablesOutsideTheRomAreReportedAndTheProgramGoesOn)
{
    // The camera pointers far beyond the end of the demo ROM.
    editDataIni("Data/offsets.ini", "Offset", "Camera", "$7FFF0000");
    createWindows(demoRom());
    EXPECT_TRUE(session().RomLoaded);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_FALSE(imageMain()->isVisible());
    EXPECT_EQ(session().Stage.MapWidth, 0) << "nothing of the stage was taken";
    // The other actions go on working.
    pressKey(Qt::Key_F1);
    EXPECT_TRUE(session().Pen.HFlip);
}

TEST_F(CommandLineTest, AnUnreadableRomIsReportedOnceTheMainWindowIsOnTheScreen)
{
    const QString missing = QString::fromStdString(dataFile("missing.smc").string());
    bool windowShownAtMessage = false;
    SetMessageHook([&](const QString &text) {
        messages.append(text);
        windowShownAtMessage = FormMain->windowHandle() && FormMain->windowHandle()->isVisible();
    });
    createWindows(missing);
    EXPECT_EQ(messages, QStringList{missing + QStringLiteral("の読み込みに失敗しました。")});
    EXPECT_TRUE(windowShownAtMessage);
    EXPECT_FALSE(session().RomLoaded);
}

TEST_F(CommandLineTest, ARomNamedWithBytesThatAreNotUtf8OpensAndSaves)
{
    const std::string name = "latin\xE9 name.smc";
    std::filesystem::copy_file(dataFile("demo.smc"), dataFile(name));
    const RemovedAtEnd removal{dataFile(name)};
    // The argument as the program's main() takes it from argv.
    std::string argument = dataFile(name).native();
    char program[] = "TamoEditor";
    char *argv[] = {program, argument.data(), nullptr};
    createWindows(tamo::absoluteFileName(tamo::programArguments(2, argv).at(1)));
    ASSERT_TRUE(session().RomLoaded) << messages.join('\n').toStdString();
    EXPECT_TRUE(imageMain()->isVisible());

    QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(2, 2));
    const std::vector<uint8_t> edited = romBytes();
    pressKey(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().endsWith(QStringLiteral("を保存しました。")));
    const std::string onDisk = readText(name);
    EXPECT_EQ(std::vector<uint8_t>(onDisk.begin(), onDisk.end()), edited);
}

TEST_F(CommandLineTest, AMarkBitmapCutShortStopsTheStart)
{
    const std::string whole = readText("Data/mark.bmp");
    writeText("Data/mark.bmp", whole.substr(0, whole.size() / 2));
    try {
        CreateWindows(programDir());
        FAIL() << "the start must stop";
    } catch (const std::exception &error) {
        EXPECT_NE(std::string(error.what()).find("mark.bmp: the bitmap cannot be read"), std::string::npos) << error.what();
    }
}

TEST_F(CommandLineTest, AMissingMarkBitmapStopsTheStart)
{
    std::filesystem::remove(dataFile("Data/mark.bmp"));
    EXPECT_THROW(CreateWindows(programDir()), std::exception);
}

} // namespace
