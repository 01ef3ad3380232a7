#include "forms/rom_open_dialog.h"

#include "forms/message_box.h"

#include <QDir>
#include <QFileInfo>

RomOpenDialog::RomOpenDialog(QWidget *parent)
    : QFileDialog(parent)
{
    setObjectName(QStringLiteral("OpenDialog1"));
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::AnyFile);
    setNameFilters({QStringLiteral("SNES ROM (*.smc)"), QStringLiteral("All files (*.*)")});
    setDefaultSuffix(QStringLiteral("smc"));
    setSizeGripEnabled(true);
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
