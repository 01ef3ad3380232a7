#pragma once

#include "forms/common/qt_canvas.h"
#include "forms/tool_window.h"

class CanvasImage;
class QScrollArea;
class QToolBar;
class QToolButton;

// The chip palette: every chip of the stage's chip bitmap in the pen's orientation, the
// pen's chip inverted; a click chooses the pen's chip. Its tool bar holds the pen's two
// flip actions of the main window.
class TFormChip : public ToolWindow
{
    Q_OBJECT

public:
    TFormChip();

    void DrawChipPalette();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void ImageChipMouseDown(int x, int y);

    tamo::QtCanvas m_palette;
    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton1 = nullptr;
    QToolButton *ToolButton2 = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    CanvasImage *ImageChip = nullptr;
};

extern TFormChip *FormChip;
