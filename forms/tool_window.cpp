#include "forms/tool_window.h"

#include "forms/error_report.h"
#include "forms/screen_size.h"

#include "core/ini_file.h"

#include <QAction>
#include <QCloseEvent>

ToolWindow::ToolWindow(const ToolWindowPlacement &defaults, const ActionDefinition &toggle)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                           | Qt::WindowCloseButtonHint)
    , m_defaults(defaults)
    , m_toggleAction(CreateAction(toggle, this))
{
    setObjectName(QString::fromLatin1(defaults.section));
    connect(m_toggleAction, &QAction::triggered, this, [this] { ReportErrors([this] { toggleShown(); }); });
}

void ToolWindow::LoadPlacement(const tamo::IniFile &ini)
{
    const char *section = m_defaults.section;
    // move() places the outer frame and resize() the client area, which is what is stored.
    move(ini.readInteger(section, "Left", m_defaults.left),
         ini.readInteger(section, "Top", m_defaults.top));
    resize(sizeWithinScreen(QSize(ini.readInteger(section, "ClientWidth", m_defaults.clientWidth),
                                  ini.readInteger(section, "ClientHeight", m_defaults.clientHeight)),
                            pos()));
    moveOntoScreens(*this);
    setVisible(ini.readBool(section, "Visible", false));
    m_toggleAction->setChecked(isVisible());
}

void ToolWindow::SavePlacement(tamo::IniFile &ini) const
{
    const char *section = m_defaults.section;
    ini.writeInteger(section, "Left", x());
    ini.writeInteger(section, "Top", y());
    ini.writeInteger(section, "ClientWidth", width());
    ini.writeInteger(section, "ClientHeight", height());
    ini.writeBool(section, "Visible", isVisible());
}

void ToolWindow::toggleShown()
{
    if (isVisible()) {
        hide();
    } else {
        show();
        raise();
        activateWindow();
    }
    m_toggleAction->setChecked(isVisible());
}

void ToolWindow::closeEvent(QCloseEvent *event)
{
    // The window is only hidden: its lists and edit fields keep their content.
    event->accept();
    FormClose();
}

void ToolWindow::FormClose()
{
    m_toggleAction->setChecked(false);
}
