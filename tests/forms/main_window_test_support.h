#pragma once

#include "core/stage.h"
#include "forms/UnitChip.h"
#include "forms/UnitMain.h"
#include "forms/canvas_image.h"
#include "forms/paint_tiles_tool.h"
#include "tests/forms/editor_test_support.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

// What the tests of the main window, the chip window and the stage dialog share.
class MainWindowTest : public EditorTest
{
protected:
    static CanvasImage *imageMain() { return control<CanvasImage>(FormMain, "ImageMain"); }

    // The selection, the drags and the floating block of the tile tools.
    static const tamo::MapTools &tileTools() { return FormMain->findChild<PaintTilesTool *>()->tileTools(); }

    static QString statusPanel(int panel)
    {
        const char *names[] = {"StatusBar1Panel0", "StatusBar1Panel1", "StatusBar1Panel2"};
        return control<QLabel>(FormMain, names[panel])->text();
    }

    // Runs interact once the modal dialog that the next step opens is up. A dialog that
    // interact left open is a failure, and is closed so that the test goes on.
    static void whenModalShown(std::function<void(QWidget *dialog)> interact)
    {
        QTimer::singleShot(0, [interact] {
            QWidget *dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr) << "no modal dialog was opened";
            interact(dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog->close();
            }
        });
    }

    // Types a file name into a file dialog of the program, which starts in the folder it is
    // given, and presses its Open or Save button.
    static void typeAndAccept(QWidget *dialog, const QString &typed)
    {
        auto *fileName = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(fileName, nullptr);
        typeInto(fileName, typed);
        // The completer's list of matching names is dismissed first, as a click elsewhere would.
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        ASSERT_NE(buttons, nullptr);
        const bool saves = qobject_cast<QFileDialog *>(dialog)->acceptMode() == QFileDialog::AcceptSave;
        QTest::mouseClick(buttons->button(saves ? QDialogButtonBox::Save : QDialogButtonBox::Open), Qt::LeftButton);
    }

    // Ctrl+E, a name typed into the dialog and Save, as the user exports the stage: the
    // picture written beside the ROM (null when none was).
    QImage exportThroughTheDialog(const char *name)
    {
        whenModalShown([name](QWidget *dialog) { typeAndAccept(dialog, QString::fromLatin1(name)); });
        pressKey(Qt::Key_E, Qt::ControlModifier);
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        return QImage(QString::fromStdString(dataFile(std::string(name) + ".png").string()));
    }

    static void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::activeWindow(), key, modifiers);
    }

    // The chip bitmap number of a stage, worked out here: its word of the FG table, in
    // upper-case hexadecimal of two digits or more, is its key in section "FG Tilemap".
    static int fgTilemapOf(int level)
    {
        const uint16_t word = romWord(session().OffsetTable.FG + 2 * int64_t(level));
        return session().OffsetsIni.readInteger("FG Tilemap", QString::asprintf("%02X", word).toStdString(), 0);
    }

    // Another stage whose chip bitmap is not the current stage's.
    static int stageWithOtherTilemap()
    {
        for (int level = 0; level < tamo::LevelCount; ++level) {
            if (fgTilemapOf(level) != fgTilemapOf(session().LevelNumber))
                return level;
        }
        return -1;
    }

    // The offset of a cell's tile word, worked out here from the stage's fields: the map
    // lies column by column, MapHeight words each, from the column TilemapStart is in.
    static int64_t cellOffset(int column, int row)
    {
        const tamo::Stage &stage = session().Stage;
        return stage.TilemapOffset + 2 * ((column + stage.TilemapStart / 32) * int64_t(stage.MapHeight) + row);
    }
    static uint16_t cellWord(int column, int row) { return romWord(cellOffset(column, row)); }

    // Chooses the pen's chip by clicking it in the chip window, as the user does.
    static void choosePenChip(int chip)
    {
        activate(FormChip);
        auto *palette = control<QWidget>(FormChip, "ImageChip");
        const QPoint at((chip % 16) * 32 + 5, (chip / 16) * 32 + 5);
        QTest::mouseClick(palette, Qt::LeftButton, {}, at);
        activate(FormMain);
        ASSERT_EQ(session().Pen.CurrentChip, chip);
    }

    // The image's pixels as the screen shows them.
    static QImage shownImage() { return imageMain()->grab().toImage(); }

    static QPoint cellCentre(int column, int row)
    {
        return {column * tamo::CellPixels + 16, row * tamo::CellPixels + 16};
    }

    // The pixels a chip shows with the flips, worked out from the chip bitmap file of the
    // current stage: chip k is the 32 x 32 cell at column k % 16, row k / 16 of the plain
    // block at its left, and a flip mirrors it (as the other three blocks hold it).
    QImage chipPixels(int chip, bool hFlip, bool vFlip) const
    {
        const std::string file = "Data/chip" + std::to_string(session().Stage.FGTilemap) + ".bmp";
        const QImage bitmap(QString::fromStdString(dataFile(file).string()));
        EXPECT_EQ(bitmap.width(), 2048) << file;
        const QImage plain = bitmap.copy((chip % 16) * 32, (chip / 16) * 32, 32, 32);
        return plain.mirrored(hFlip, vFlip).convertToFormat(QImage::Format_RGB32);
    }

    // A step that paints names, where the stage shares its tile map, the other stages after
    // its own text: "Paint 4 cells (tile map shared with stages ...)". The step's own text.
    static QString stepWithoutSharedNote(const QString &text)
    {
        const qsizetype note = text.indexOf(QStringLiteral(" (tile map shared with stages "));
        return note < 0 ? text : text.left(note);
    }
};
