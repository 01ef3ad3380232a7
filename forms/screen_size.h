#pragma once

#include <QList>
#include <QRect>

class QWidget;

// A window size read from the settings, made no larger than the available area of the
// screen at place (the primary screen when no screen is there). A size that fits is kept
// as it is: the bound only keeps an absurd stored size from making an absurd window.
QSize sizeWithinScreen(const QSize &size, const QPoint &place);

// A window placed as the settings say, moved onto the screen nearest to it where less than
// 100 x 50 pixels of its title area would be on any screen; a place on a screen, also
// partly and also on a second monitor, stays as it is.
void moveOntoScreens(QWidget &window);

// Where a window of the size at place goes among the screens' available areas: place
// itself where enough of its title area lies on one of them, otherwise the nearest place
// inside the nearest of them. Without screens, place.
QPoint placeOnScreens(QPoint place, QSize size, const QList<QRect> &screens);
