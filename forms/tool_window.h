#pragma once

#include "forms/action_definition.h"

#include <QWidget>

class QAction;

namespace tamo {
class IniFile;
}

// Where a tool window sits when its section of Config\application.ini is missing.
struct ToolWindowPlacement
{
    const char *section;
    int left;
    int top;
    int clientWidth;
    int clientHeight;
};

// A non-modal window beside the main window that keeps its place, client size and
// visibility from one run to the next and is shown and hidden by an action of its own,
// whose check mark always tells whether the window is shown; the main window puts the
// action into its View menu.
class ToolWindow : public QWidget
{
    Q_OBJECT

public:
    ToolWindow(const ToolWindowPlacement &defaults, const ActionDefinition &toggle);

    QAction *toggleAction() const { return m_toggleAction; }

    void LoadPlacement(const tamo::IniFile &ini);
    void SavePlacement(tamo::IniFile &ini) const;

    // The action's execute: hide the window when shown, show and raise it otherwise.
    void toggleShown();

protected:
    void closeEvent(QCloseEvent *event) override;

    // Closing by the close box or the system menu hides the window, never destroys it.
    void FormClose();

private:
    ToolWindowPlacement m_defaults;
    QAction *m_toggleAction;
};
