#include "forms/patch_file_session.h"

#include "core/file_system.h"
#include "core/grouped_number.h"
#include "core/rom_error.h"
#include "core/stage_extent.h"
#include "files/file_names.h"
#include "forms/message_box.h"
#include "forms/rom_open_dialog.h"
#include "forms/stage_list_text.h"
#include "session/stage_session.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

// Where Config\application.ini keeps the unmodified ROM that patches are made against.
constexpr const char *PatchSection = "Patch";
constexpr const char *BaseRomKey = "BaseRom";

const QString BpsFilter = QStringLiteral("BPS patch (*.bps)");
const QString IpsFilter = QStringLiteral("IPS patch (*.ips)");

void setUpPatchDialog(QFileDialog &dialog, const QString &name, const QString &title, QFileDialog::AcceptMode mode,
                      const QStringList &filters)
{
    dialog.setObjectName(name);
    dialog.setWindowTitle(title);
    // Qt's own dialog, as for opening a ROM: the same on every platform and for the tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.setSizeGripEnabled(true);
}

// The file the user chose in the dialog; none when the user cancelled.
std::optional<QString> chosenFile(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QString formatCaption(tamo::PatchFormat format)
{
    return QString::fromStdString(tamo::PatchFormatName(format)).toUpper();
}

} // namespace

PatchFileSession::PatchFileSession(StageSession &session, QWidget &window)
    : QObject(&window)
    , m_session(session)
    , m_window(window)
{
    createFileDialogs();
}

void PatchFileSession::createFileDialogs()
{
    // The save dialog keeps the file type chosen last; the open dialogs are made anew for
    // each use, as one used before would add the file it chose then to the one typed.
    PatchExportDialog1 = new QFileDialog(&m_window);
    setUpPatchDialog(*PatchExportDialog1, QStringLiteral("PatchExportDialog1"), QStringLiteral("Export Patch"),
                     QFileDialog::AcceptSave, {BpsFilter, IpsFilter});
    PatchExportDialog1->setDefaultSuffix(QStringLiteral("bps"));
    connect(PatchExportDialog1, &QFileDialog::filterSelected, this, [this](const QString &filter) {
        PatchExportDialog1->setDefaultSuffix(filter == IpsFilter ? QStringLiteral("ips") : QStringLiteral("bps"));
    });
}

QString PatchFileSession::romFolder() const
{
    return QFileInfo(m_session.RomFileName).absolutePath();
}

void PatchFileSession::exportPatch()
{
    if (!m_session.RomLoaded)
        return;
    const std::optional<std::vector<uint8_t>> base = baseRom();
    if (!base)
        return;
    const std::optional<PatchTarget> target = choosePatchTarget();
    if (!target)
        return;
    const std::vector<uint8_t> &image = m_session.RomImage.bytes();
    const std::vector<uint8_t> patch = tamo::NamingPatchFile(
        target->file.filename().string(), [&] { return tamo::MakePatch(target->format, *base, image); });
    tamo::fs::writeWholeFile(target->file, patch);
    const tamo::StageExtents stages({m_session.RomImage, m_session.OffsetTable, m_session.OffsetsIni});
    ShowMessage(QStringLiteral("%1: a %2 patch of %3 bytes; stages changed: %4.")
                    .arg(tamo::fileNameText(target->file), formatCaption(target->format),
                         QString::fromStdString(tamo::GroupedNumber(patch.size())),
                         StageListText(stages.compare(*base).stages)));
}

std::optional<std::vector<uint8_t>> PatchFileSession::baseRom()
{
    if (std::optional<std::vector<uint8_t>> remembered = rememberedBaseRom())
        return remembered;
    return chooseBaseRom();
}

std::optional<std::vector<uint8_t>> PatchFileSession::rememberedBaseRom() const
{
    const std::optional<std::string> path = m_session.ApplicationIni.value(PatchSection, BaseRomKey);
    if (!path || path->empty())
        return std::nullopt;
    try {
        std::vector<uint8_t> bytes = tamo::fs::readWholeFile(*path);
        if (bytes.size() == m_session.RomImage.bytes().size())
            return bytes;
    } catch (const tamo::RomError &) {
        // A file that no longer reads is asked for again.
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> PatchFileSession::chooseBaseRom()
{
    const std::optional<std::string> remembered = m_session.ApplicationIni.value(PatchSection, BaseRomKey);
    RomOpenDialog dialog(&m_window);
    dialog.setObjectName(QStringLiteral("BaseRomDialog1"));
    dialog.setWindowTitle(QStringLiteral("The unmodified ROM to make the patch against"));
    dialog.setDirectory(remembered ? tamo::fileNameText(std::filesystem::path(*remembered).parent_path()) : romFolder());
    const std::optional<QString> chosen = chosenFile(dialog);
    if (!chosen)
        return std::nullopt;
    const std::filesystem::path path = tamo::filePath(*chosen);
    std::vector<uint8_t> bytes = tamo::fs::readWholeFile(path);
    const size_t imageSize = m_session.RomImage.bytes().size();
    if (bytes.size() != imageSize) {
        throw tamo::RomError(path.string() + " is " + tamo::GroupedNumber(bytes.size())
                             + " bytes and the image " + tamo::GroupedNumber(imageSize)
                             + ": it is not the ROM the image was made from");
    }
    m_session.ApplicationIni.writeString(PatchSection, BaseRomKey, path.string());
    return bytes;
}

std::optional<PatchFileSession::PatchTarget> PatchFileSession::choosePatchTarget()
{
    PatchExportDialog1->setDirectory(romFolder());
    const bool ips = PatchExportDialog1->selectedNameFilter() == IpsFilter;
    PatchExportDialog1->selectFile(QFileInfo(m_session.RomFileName).completeBaseName()
                                   + (ips ? QStringLiteral(".ips") : QStringLiteral(".bps")));
    const std::optional<QString> chosen = chosenFile(*PatchExportDialog1);
    if (!chosen)
        return std::nullopt;
    const std::filesystem::path file = tamo::filePath(*chosen);
    const tamo::PatchFormat chosenType
        = PatchExportDialog1->selectedNameFilter() == IpsFilter ? tamo::PatchFormat::Ips : tamo::PatchFormat::Bps;
    return PatchTarget{file, tamo::PatchFormatForName(file).value_or(chosenType)};
}

void PatchFileSession::applyPatch()
{
    if (!m_session.RomLoaded)
        return;
    QFileDialog dialog(&m_window);
    setUpPatchDialog(dialog, QStringLiteral("PatchApplyDialog1"), QStringLiteral("Apply Patch"), QFileDialog::AcceptOpen,
                     {QStringLiteral("Patches (*.bps *.ips)"), QStringLiteral("All files (*)")});
    dialog.setDirectory(romFolder());
    const std::optional<QString> chosen = chosenFile(dialog);
    if (!chosen)
        return;
    const std::filesystem::path file = tamo::filePath(*chosen);
    const QString name = tamo::fileNameText(file.filename());
    const std::vector<uint8_t> patch = tamo::fs::readWholeFile(file);
    const tamo::PatchedImage patched = tamo::NamingPatchFile(file.filename().string(), [&] {
        return tamo::PatchImageKeepingSize({m_session.RomImage, m_session.OffsetTable, m_session.OffsetsIni}, patch);
    });
    const QString step = QStringLiteral("Apply patch %1").arg(name);
    if (!m_session.Document->replaceImage(patched.bytes, step, m_session.LevelNumber)) {
        ShowMessage(QStringLiteral("%1 changes no byte of the image.").arg(name));
        return;
    }
    ShowMessage(QStringLiteral("%1: %2 bytes changed; stages changed: %3.")
                    .arg(step, QString::fromStdString(tamo::GroupedNumber(uint64_t(patched.difference.bytes))),
                         StageListText(patched.difference.stages)));
}
