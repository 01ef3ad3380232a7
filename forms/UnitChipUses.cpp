#include "forms/UnitChipUses.h"

#include "forms/error_report.h"
#include "forms/map_viewport.h"
#include "session/stage_session.h"

#include "core/chip_uses.h"
#include "core/count_text.h"
#include "core/name_lists.h"
#include "qtcommon/shift_jis_text.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <string_view>

TFormChipUses *FormChipUses = nullptr;

namespace {

constexpr ToolWindowPlacement chipUsesPlacement{"ChipUsesWindow", 200, 200, 300, 300};
constexpr ActionDefinition chipUsesAction{"ViewChipUsesWindow", "Chip Uses(&U)", nullptr, "Chip Uses",
                                          NoShortcut, std::nullopt, true, true};

// The item's data: the stage's number.
constexpr int LevelRole = Qt::UserRole;

QString countText(size_t count, std::string_view noun)
{
    return QString::fromStdString(tamo::CountText(int64_t(count), noun));
}

} // namespace

TFormChipUses::TFormChipUses(StageSession &session, MapViewport &mapView)
    : ToolWindow(chipUsesPlacement, chipUsesAction)
    , m_session(session)
    , m_mapView(mapView)
{
    setObjectName(QStringLiteral("FormChipUses"));
    setWindowTitle(QStringLiteral("Chip Uses"));
    LabelChip = new QLabel(this);
    LabelChip->setObjectName(QStringLiteral("LabelChip"));
    ListBoxChipUses = new QListWidget(this);
    ListBoxChipUses->setObjectName(QStringLiteral("ListBoxChipUses"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(LabelChip);
    layout->addWidget(ListBoxChipUses, 1);

    connect(ListBoxChipUses, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { ReportErrors([&] { ListBoxChipUsesDblClick(item); }); });
    connect(&session, &StageSession::penChanged, this, &TFormChipUses::followPen);
    connect(&session, &StageSession::changed, this, &TFormChipUses::listChanged);
    connect(&session, &StageSession::romOpened, this, &TFormChipUses::listChanged);

    LoadPlacement(session.ApplicationIni);
}

void TFormChipUses::followPen()
{
    if ((m_session.Pen.CurrentChip & tamo::ChipBits) != m_listedChip)
        listChanged();
}

void TFormChipUses::listChanged()
{
    m_listStale = true;
    if (!isVisible() || m_refreshQueued)
        return;
    m_refreshQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_refreshQueued = false;
            ReportErrors([this] { RefreshList(); });
        },
        Qt::QueuedConnection);
}

void TFormChipUses::showEvent(QShowEvent *event)
{
    ToolWindow::showEvent(event);
    if (m_listStale)
        ReportErrors([this] { RefreshList(); });
}

void TFormChipUses::RefreshList()
{
    if (!m_listStale && (m_session.Pen.CurrentChip & tamo::ChipBits) == m_listedChip)
        return;
    const QListWidgetItem *selected = ListBoxChipUses->currentItem();
    const int selectedLevel = selected ? selected->data(LevelRole).toInt() : -1;
    ListBoxChipUses->clear();
    m_listStale = false;
    if (!m_session.RomLoaded) {
        m_listedChip = -1;
        LabelChip->setText(QStringLiteral("No ROM is open."));
        return;
    }
    m_listedChip = m_session.Pen.CurrentChip & tamo::ChipBits;
    const std::vector<tamo::StageChipUses> uses
        = tamo::FindChipUses({m_session.RomImage, m_session.OffsetTable, m_session.OffsetsIni}, m_listedChip);
    size_t cells = 0;
    for (const tamo::StageChipUses &stage : uses) {
        auto *item = new QListWidgetItem(QStringLiteral("%1 (%2)").arg(
            tamo::fromShiftJis(tamo::LevelItemText(m_session.OffsetsIni, stage.level)), countText(stage.cells.size(), "cell")));
        item->setData(LevelRole, stage.level);
        ListBoxChipUses->addItem(item);
        if (stage.level == selectedLevel)
            ListBoxChipUses->setCurrentItem(item);
        cells += stage.cells.size();
    }
    const QString chip = QString::number(m_listedChip, 16).toUpper().rightJustified(4, QLatin1Char('0'));
    LabelChip->setText(QStringLiteral("Chip %1: %2 in %3").arg(chip, countText(cells, "cell"), countText(uses.size(), "stage")));
}

void TFormChipUses::ListBoxChipUsesDblClick(QListWidgetItem *item)
{
    const int32_t chip = m_listedChip;
    m_session.ShowStageOf(item->data(LevelRole).toInt());
    // A load gives the pen chip 0: the user goes on with the chip the list is for.
    if (m_session.Pen.CurrentChip != chip) {
        m_session.Pen.CurrentChip = chip;
        m_session.penEdited();
    }
    const std::vector<tamo::CellPosition> cells = tamo::ChipCellsOfStage(m_session.RomImage, m_session.Stage, chip);
    if (!cells.empty())
        m_mapView.centreOn(QPoint(cells.front().column * tamo::CellSize + tamo::CellSize / 2,
                                  cells.front().row * tamo::CellSize + tamo::CellSize / 2));
}
