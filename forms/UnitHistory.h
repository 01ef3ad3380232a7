#pragma once

#include "forms/tool_window.h"

class QUndoView;
class StageSession;

// The edit history: one line per step, the current one selected; choosing a line undoes
// or redoes every step up to it.
class TFormHistory : public ToolWindow
{
    Q_OBJECT

public:
    explicit TFormHistory(StageSession &session);

private:
    QUndoView *ListHistory = nullptr;
};

extern TFormHistory *FormHistory;
