#pragma once

#include <QSize>

class QMainWindow;

// The stored client size of the main window is the area below its menu bar (tool bar,
// map and status bar), as on the platform the settings file comes from, where the menu
// bar lies outside the client area.
QSize clientAreaBelowMenu(const QMainWindow &window);
void resizeClientAreaBelowMenu(QMainWindow &window, const QSize &area);
