#pragma once

#include "forms/tool_window.h"
#include "qtcommon/qt_canvas.h"

class CanvasImage;
class QScrollArea;
class QToolBar;
class QToolButton;
class StageSession;

// The chip palette: every chip of the stage's chip bitmap in the pen's orientation, the
// pen's chip inverted; a click chooses the pen's chip. Its tool bar holds the pen's two
// flip actions of the main window.
class TFormChip : public ToolWindow
{
    Q_OBJECT

public:
    TFormChip(StageSession &session, QAction *hFlip, QAction *vFlip);

    void DrawChipPalette();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void ImageChipMouseDown(int x, int y);

    StageSession &m_session;
    tamo::QtCanvas m_palette;
    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton1 = nullptr;
    QToolButton *ToolButton2 = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    CanvasImage *ImageChip = nullptr;
};

extern TFormChip *FormChip;
