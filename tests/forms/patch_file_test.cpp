// Export Patch and Apply Patch of the File menu, on the demo ROM's stage 22, with the
// file dialogs answered as the user would.
#include "tests/forms/main_window_test_support.h"

#include "core/file_system.h"
#include "core/patch_file.h"
#include "tests/support/patch_bytes.h"

#include <QComboBox>
#include <QFileDialog>

#include <filesystem>
#include <map>

namespace {

using Bytes = std::vector<uint8_t>;
using tamo::test::PatchBytes;

// The tile word the pen paints: chip 0x21, no flip.
constexpr uint16_t PaintedWord = 0x0021;

class PatchFileTest : public MainWindowTest
{
protected:
    using Answer = std::function<void(QWidget *dialog)>;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        QObject::connect(&m_answering, &QTimer::timeout, [this] { answerDialog(); });
        m_answering.start(5);
    }
    void TearDown() override
    {
        m_answering.stop();
        MainWindowTest::TearDown();
    }

    static Answer typing(const QString &name)
    {
        return [name](QWidget *dialog) { typeAndAccept(dialog, name); };
    }
    // Chooses the second file type (IPS) of the save dialog first.
    static Answer typingAsIps(const QString &name)
    {
        return [name](QWidget *dialog) {
            auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            ASSERT_NE(types, nullptr);
            types->setFocus();
            QTest::keyClick(types, Qt::Key_Down);
            ASSERT_EQ(types->currentText(), QStringLiteral("IPS patch (*.ips)"));
            typeAndAccept(dialog, name);
        };
    }

    bool namesFile(const std::string &path, const std::string &name) const
    {
        std::error_code error;
        return std::filesystem::equivalent(path, dataFile(name), error);
    }

    Bytes fileBytes(const std::string &name) const { return tamo::fs::readWholeFile(dataFile(name)); }
    void writeFile(const std::string &name, const Bytes &bytes) const { tamo::fs::writeWholeFile(dataFile(name), bytes); }

    // Opens demo.smc with a copy of it as the unmodified ROM, and paints cell (3, 2) without
    // saving; the image as it is then, worked out here from the unmodified bytes.
    Bytes openAndPaint()
    {
        openDemoRom();
        std::filesystem::copy_file(dataFile("demo.smc"), dataFile("clean.smc"));
        const int64_t at = cellOffset(3, 2);
        EXPECT_NE(cellWord(3, 2), PaintedWord) << "the paint must change the cell";
        session().Pen.CurrentChip = PaintedWord;
        QTest::mouseClick(imageMain(), Qt::LeftButton, {}, cellCentre(3, 2));
        Bytes painted = fileBytes("clean.smc");
        painted.at(size_t(at)) = uint8_t(PaintedWord);
        painted.at(size_t(at) + 1) = uint8_t(PaintedWord >> 8);
        return painted;
    }

    void exportPatch()
    {
        dialogsShown.clear();
        FormMain->FileExportPatch->trigger();
    }
    void applyPatch(const QString &name)
    {
        answers["PatchApplyDialog1"] = typing(name);
        FormMain->FileApplyPatch->trigger();
    }

    // The answers to the file dialogs by their names, and the names of the dialogs shown.
    // A dialog without an answer is cancelled.
    std::map<QString, Answer> answers;
    QStringList dialogsShown;

private:
    void answerDialog()
    {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        dialogsShown << dialog->objectName();
        if (const auto answer = answers.find(dialog->objectName()); answer != answers.end())
            answer->second(dialog);
        if (dialog->isVisible()) {
            EXPECT_TRUE(answers.find(dialog->objectName()) == answers.end())
                << dialog->objectName().toStdString() << " stayed open";
            dialog->close();
        }
    }

    QTimer m_answering;
};

TEST_F(PatchFileTest, AnExportAfterAnUnsavedPaintIsThePatchOfTheImageInMemory)
{
    const Bytes painted = openAndPaint();
    const Bytes unmodified = fileBytes("clean.smc");
    answers["BaseRomDialog1"] = typing(QStringLiteral("clean.smc"));
    answers["PatchExportDialog1"] = typing(QStringLiteral("stage22"));
    exportPatch();
    EXPECT_EQ(dialogsShown, (QStringList{"BaseRomDialog1", "PatchExportDialog1"}));

    const Bytes patch = fileBytes("stage22.bps");
    ASSERT_EQ(tamo::PatchFormatOf(patch), tamo::PatchFormat::Bps);
    EXPECT_TRUE(tamo::ApplyPatch(patch, unmodified) == painted);
    EXPECT_TRUE(fileBytes("demo.smc") == unmodified) << "the export saves nothing";
    EXPECT_TRUE(session().Document->isModified());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QString::fromStdString(dataFile("stage22.bps").string()) + ": a BPS patch of "))
        << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("22"))) << messages[0].toStdString();
}

TEST_F(PatchFileTest, TheUnmodifiedRomIsKeptAcrossExportsAndRunsAndAskedForAgainOnceItsSizeChanged)
{
    const Bytes painted = openAndPaint();
    const Bytes unmodified = fileBytes("clean.smc");
    writeFile("spare.smc", unmodified);
    answers["BaseRomDialog1"] = typing(QStringLiteral("clean.smc"));
    answers["PatchExportDialog1"] = typing(QStringLiteral("first"));
    exportPatch();
    const std::string kept = session().ApplicationIni.readString("Patch", "BaseRom");
    EXPECT_TRUE(namesFile(kept, "clean.smc")) << kept;

    // The file type chosen names the format of a name typed without extension.
    answers["PatchExportDialog1"] = typingAsIps(QStringLiteral("second"));
    exportPatch();
    EXPECT_EQ(dialogsShown, QStringList{"PatchExportDialog1"});
    const Bytes ips = fileBytes("second.ips");
    ASSERT_EQ(tamo::PatchFormatOf(ips), tamo::PatchFormat::Ips);
    EXPECT_TRUE(tamo::ApplyPatch(ips, unmodified) == painted);

    restart();
    EXPECT_NE(readText("Config/application.ini").find("BaseRom=" + kept), std::string::npos);
    openDemoRom();
    answers["PatchExportDialog1"] = typing(QStringLiteral("third.bps"));
    exportPatch();
    EXPECT_EQ(dialogsShown, QStringList{"PatchExportDialog1"});

    // One byte more, and the file is no longer the image's ROM: it is asked for again, and
    // a file of another size is refused when it is chosen.
    Bytes longer = unmodified;
    longer.push_back(0);
    writeFile("clean.smc", longer);
    messages.clear();
    exportPatch();
    EXPECT_EQ(dialogsShown, QStringList{"BaseRomDialog1"});
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QString::fromStdString(kept) + QStringLiteral(" is "))) << messages[0].toStdString();
    EXPECT_EQ(session().ApplicationIni.value("Patch", "BaseRom"), kept);

    answers["BaseRomDialog1"] = typing(QStringLiteral("spare.smc"));
    answers["PatchExportDialog1"] = typing(QStringLiteral("fourth.bps"));
    exportPatch();
    EXPECT_EQ(dialogsShown, (QStringList{"BaseRomDialog1", "PatchExportDialog1"}));
    EXPECT_TRUE(namesFile(session().ApplicationIni.readString("Patch", "BaseRom"), "spare.smc"));
    EXPECT_TRUE(tamo::ApplyPatch(fileBytes("fourth.bps"), unmodified) == unmodified) << "no edit since the restart";
}

TEST_F(PatchFileTest, APatchIsAppliedAsOneUndoStepAndReachesTheFileOnlyBySave)
{
    openDemoRom();
    const Bytes original = romBytes();
    const int64_t at = cellOffset(3, 2);
    ASSERT_NE(cellWord(3, 2), PaintedWord);
    // Written out by hand: one record of the cell's two bytes.
    writeFile("cell.ips", PatchBytes().text("PATCH").be(uint32_t(at), 3).be(2, 2).raw({0x21, 0x00}).text("EOF").bytes);
    Bytes patched = original;
    patched.at(size_t(at)) = 0x21;
    patched.at(size_t(at) + 1) = 0x00;

    applyPatch(QStringLiteral("cell.ips"));
    EXPECT_TRUE(romBytes() == patched);
    EXPECT_EQ(session().Document->history()->count(), 1);
    EXPECT_EQ(FormMain->EditUndo->text(), QStringLiteral("Undo Apply patch cell.ips"));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Apply patch cell.ips: "))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("22"))) << messages[0].toStdString();
    EXPECT_TRUE(fileBytes("demo.smc") == original) << "only Save writes the file";

    FormMain->EditUndo->trigger();
    EXPECT_TRUE(romBytes() == original);
    FormMain->EditRedo->trigger();
    EXPECT_EQ(cellWord(3, 2), PaintedWord);
    FormMain->FileSave->trigger();
    EXPECT_TRUE(fileBytes("demo.smc") == patched);
}

TEST_F(PatchFileTest, APatchThatChangesTheSizeOrWasMadeForAnotherRomIsRefusedAndChangesNothing)
{
    openDemoRom();
    const Bytes original = romBytes();
    const auto size = uint32_t(original.size());
    // A record that runs one byte past the image's end would lengthen it.
    writeFile("longer.ips", PatchBytes().text("PATCH").be(size - 1, 3).be(2, 2).raw({1, 2}).text("EOF").bytes);
    // Made for an image of the same size whose first byte differs: one source read of all
    // of it, with that image's CRC.
    Bytes other = original;
    other[0] ^= 0xFF;
    const uint32_t otherCrc = tamo::test::ReferenceCrc32(other);
    writeFile("other.bps", PatchBytes().text("BPS1").number(size).number(size).number(0).number(uint64_t(size - 1) << 2)
                               .bpsEnd(otherCrc, otherCrc));

    applyPatch(QStringLiteral("longer.ips"));
    applyPatch(QStringLiteral("other.bps"));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("longer.ips: the patch makes an image of "))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("keeps its size"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[1].startsWith(QStringLiteral("other.bps: "))) << messages[1].toStdString();
    EXPECT_TRUE(messages[1].contains(QStringLiteral("source CRC mismatch"))) << messages[1].toStdString();
    EXPECT_TRUE(romBytes() == original);
    EXPECT_EQ(session().Document->history()->count(), 0);
    EXPECT_FALSE(session().Document->isModified());
}

} // namespace
