#include "forms/UnitHistory.h"

#include "forms/UnitMain.h"

#include <QUndoView>
#include <QVBoxLayout>

TFormHistory *FormHistory = nullptr;

namespace {

constexpr ToolWindowPlacement historyPlacement{"HistoryWindow", 150, 150, 300, 300};

} // namespace

TFormHistory::TFormHistory()
    : ToolWindow(historyPlacement, FormMain->ViewHistoryWindow)
{
    setWindowTitle(QStringLiteral("History"));
    ListHistory = new QUndoView(FormMain->Document->history(), this);
    ListHistory->setObjectName(QStringLiteral("ListHistory"));
    // The line before the first step: the image as it was opened.
    ListHistory->setEmptyLabel(QStringLiteral("(as opened)"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListHistory);

    LoadPlacement(FormMain->ApplicationIni);
}
