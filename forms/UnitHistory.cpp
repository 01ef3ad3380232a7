#include "forms/UnitHistory.h"

#include "session/stage_session.h"

#include <QUndoView>
#include <QVBoxLayout>

TFormHistory *FormHistory = nullptr;

namespace {

constexpr ToolWindowPlacement historyPlacement{"HistoryWindow", 150, 150, 300, 300};
constexpr ActionDefinition historyAction{"ViewHistoryWindow", "History(&H)", nullptr, "History",
                                         Qt::CTRL | Qt::Key_H, std::nullopt, true, true};

} // namespace

TFormHistory::TFormHistory(StageSession &session)
    : ToolWindow(historyPlacement, historyAction)
{
    setWindowTitle(QStringLiteral("History"));
    ListHistory = new QUndoView(session.Document->history(), this);
    ListHistory->setObjectName(QStringLiteral("ListHistory"));
    // The line before the first step: the image as it was opened.
    ListHistory->setEmptyLabel(QStringLiteral("(as opened)"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListHistory);

    LoadPlacement(session.ApplicationIni);
}
