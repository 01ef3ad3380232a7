#include "forms/image_export_dialog.h"

ImageExportDialog::ImageExportDialog(QWidget *parent)
    : QFileDialog(parent)
{
    setObjectName(QStringLiteral("ExportDialog1"));
    setWindowTitle(QStringLiteral("Export Image"));
    // Qt's own dialog, as for opening: the same on every platform and for the tests.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilter(QStringLiteral("PNG image (*.png)"));
    setDefaultSuffix(QStringLiteral("png"));
    setSizeGripEnabled(true);
}
