#pragma once

#include <QFileDialog>

// The dialog of Export Image: a PNG file to write, "png" added to a name typed without
// extension, an existing file replaced after a question.
class ImageExportDialog : public QFileDialog
{
    Q_OBJECT

public:
    explicit ImageExportDialog(QWidget *parent);
};
