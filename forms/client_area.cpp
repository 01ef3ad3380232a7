#include "forms/client_area.h"

#include <QMainWindow>
#include <QMenuBar>

namespace {

// The height the window's layout gives its menu bar at this width; none when the
// platform shows the menus outside the window.
int menuBarHeight(const QMainWindow &window, int width)
{
    const auto *bar = qobject_cast<const QMenuBar *>(window.menuWidget());
    if (!bar || bar->isNativeMenuBar())
        return 0;
    const int height = bar->heightForWidth(width);
    return height >= 0 ? height : bar->sizeHint().height();
}

} // namespace

QSize clientAreaBelowMenu(const QMainWindow &window)
{
    return {window.width(), window.height() - menuBarHeight(window, window.width())};
}

void resizeClientAreaBelowMenu(QMainWindow &window, const QSize &area)
{
    window.resize(area.width(), area.height() + menuBarHeight(window, area.width()));
}
