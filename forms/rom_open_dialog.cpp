#include "forms/rom_open_dialog.h"

#include "forms/message_box.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>

namespace {

const QString AllFilesEntry = QStringLiteral("All files (*.*)");

} // namespace

RomOpenDialog::RomOpenDialog(QWidget *parent)
    : QFileDialog(parent)
{
    setObjectName(QStringLiteral("OpenDialog1"));
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::AnyFile);
    setNameFilters({QStringLiteral("SNES ROM (*.smc)"), AllFilesEntry});
    setDefaultSuffix(QStringLiteral("smc"));
    setSizeGripEnabled(true);
    connect(this, &QFileDialog::filterSelected, this, &RomOpenDialog::listEveryFileForAllFiles);
}

void RomOpenDialog::listEveryFileForAllFiles(const QString &filter)
{
    // The dialog has just matched the entry's "*.*", which here hides the names without
    // a dot; the entry keeps its text and lists every file.
    if (filter != AllFilesEntry)
        return;
    if (auto *files = findChild<QFileSystemModel *>())
        files->setNameFilters({QStringLiteral("*")});
}

void RomOpenDialog::accept()
{
    const QStringList files = selectedFiles();
    if (!files.isEmpty()) {
        const QFileInfo chosen(files.constFirst());
        if (!chosen.isDir() && !chosen.absoluteDir().exists()) {
            ShowMessage(QDir::toNativeSeparators(chosen.absolutePath())
                        + QStringLiteral(": the folder does not exist."));
            return;
        }
    }
    QFileDialog::accept();
}
