#include "forms/chip_use_highlight.h"

#include "core/chip_uses.h"
#include "core/count_text.h"
#include "forms/stage_image.h"
#include "session/stage_session.h"

namespace {

QString countText(int64_t cells)
{
    if (cells == 0)
        return QStringLiteral("used in no cell");
    return QString::fromStdString("used in " + tamo::CountText(cells, "cell"));
}

} // namespace

ChipUseHighlight::ChipUseHighlight(StageSession &session, StageImage &view, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_view(view)
{
    connect(&session, &StageSession::stageLoaded, this, &ChipUseHighlight::follow);
    connect(&session, &StageSession::stageLoadFailed, this, &ChipUseHighlight::follow);
    connect(&session, &StageSession::penChanged, this, &ChipUseHighlight::follow);
    connect(&session, &StageSession::changed, this, &ChipUseHighlight::follow);
}

void ChipUseHighlight::setShown(bool shown)
{
    m_shown = shown;
    follow();
}

void ChipUseHighlight::follow()
{
    if (!m_shown) {
        m_view.showChipUses({});
        emit countChanged({});
        return;
    }
    std::vector<tamo::CellPosition> cells;
    if (m_session.StageShown())
        cells = tamo::ChipCellsOfStage(m_session.RomImage, m_session.Stage, m_session.Pen.CurrentChip);
    const int64_t count = int64_t(cells.size());
    m_view.showChipUses(std::move(cells));
    emit countChanged(countText(count));
}
