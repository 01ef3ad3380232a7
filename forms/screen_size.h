#pragma once

#include <QPoint>
#include <QSize>

// A window size read from the settings, made no larger than the available area of the
// screen at place (the primary screen when no screen is there). A size that fits is kept
// as it is: the bound only keeps an absurd stored size from making an absurd window.
QSize sizeWithinScreen(const QSize &size, const QPoint &place);
