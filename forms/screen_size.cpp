#include "forms/screen_size.h"

#include <QGuiApplication>
#include <QScreen>

QSize sizeWithinScreen(const QSize &size, const QPoint &place)
{
    const QScreen *screen = QGuiApplication::screenAt(place);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? size.boundedTo(screen->availableGeometry().size()) : size;
}
