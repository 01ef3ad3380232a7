#pragma once

#include <QFileDialog>

// The file-open dialog of the main window: ROM files or all files (every name, with a dot
// or without), "smc" added to a name typed without extension, resizable. The folder of the
// chosen path must exist; the file itself need not (opening reports a missing one).
class RomOpenDialog : public QFileDialog
{
    Q_OBJECT

public:
    explicit RomOpenDialog(QWidget *parent);

    void accept() override;

private:
    void listEveryFileForAllFiles(const QString &filter);
};
