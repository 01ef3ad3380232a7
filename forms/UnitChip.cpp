#include "forms/UnitChip.h"

#include "forms/canvas_image.h"
#include "forms/error_report.h"
#include "session/stage_session.h"

#include "view/chip_palette.h"

#include <QAction>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TFormChip *FormChip = nullptr;

namespace {

constexpr ToolWindowPlacement chipWindowPlacement{"ChipWindow", 0, 0, 512, 512};
constexpr ActionDefinition chipWindowAction{"ViewChipWindow", "Tilemap(&M)", "Tilemap(&M)", "Tilemap",
                                            QKeyCombination(Qt::Key_F6), ImageListIcon::ChipWindow, true, true};
constexpr int toolBarHeight = 29;

QToolButton *addFlipButton(QToolBar *bar, const char *name, QAction *flip)
{
    auto *button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    // The button follows the action: pressed while its flip is on.
    button->setDefaultAction(flip);
    bar->addWidget(button);
    return button;
}

} // namespace

TFormChip::TFormChip(StageSession &session, QAction *hFlip, QAction *vFlip)
    : ToolWindow(chipWindowPlacement, chipWindowAction)
    , m_session(session)
{
    setObjectName(QStringLiteral("FormChip"));
    setWindowTitle(QStringLiteral("Tileset Edit"));

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(toolBarHeight);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolButton1 = addFlipButton(ToolBar1, "ToolButton1", hFlip);
    ToolButton2 = addFlipButton(ToolBar1, "ToolButton2", vFlip);

    ImageChip = new CanvasImage(m_palette, nullptr);
    ImageChip->setObjectName(QStringLiteral("ImageChip"));
    ScrollBox1 = createCellScrollBox(ImageChip, this);
    connect(ImageChip, &CanvasImage::mouseDown, this,
            [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
                ReportErrors([&] { ImageChipMouseDown(x, y); });
            });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(ScrollBox1, 1);

    // The palette shows the pen and the chips of the stage shown; with no stage, none.
    connect(&session, &StageSession::penChanged, this, [this] { ReportErrors([this] { DrawChipPalette(); }); });
    connect(&session, &StageSession::stageLoadFailed, this, [this] { ReportErrors([this] { DrawChipPalette(); }); });

    LoadPlacement(session.ApplicationIni);
}

void TFormChip::showEvent(QShowEvent *event)
{
    ToolWindow::showEvent(event);
    ReportErrors([this] { FormShow(); });
}

void TFormChip::FormShow()
{
    DrawChipPalette();
}

void TFormChip::DrawChipPalette()
{
    const bool complete = tamo::DrawChipPalette(m_session.RomLoaded, m_session.ChipPicture.get(),
                                                m_session.Pen, m_palette);
    if (!m_session.RomLoaded)
        return; // nothing was drawn: the palette keeps its state
    ImageChip->followCanvasSize();
    ImageChip->update();
    if (complete)
        ImageChip->show();
}

void TFormChip::ImageChipMouseDown(int x, int y)
{
    // Any button chooses the chip; the flips stay as they are.
    m_session.PaletteClick(x, y);
}
