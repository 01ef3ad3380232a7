#include "forms/screen_size.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Enough of the title area to see the window and drag it.
constexpr int shownTitleWidth = 100;
constexpr int shownTitleHeight = 50;

// A run of pixels [start, end) along one axis, in 64 bits: a stored place may lie anywhere
// an integer reaches, where its far edge does not fit in one.
struct Span
{
    int64_t start;
    int64_t end;

    int64_t overlap(const Span &other) const { return std::min(end, other.end) - std::max(start, other.start); }
    int64_t gap(const Span &other) const { return std::max<int64_t>({0, other.start - end, start - other.end}); }
};

Span horizontal(const QRect &rect)
{
    return {rect.left(), int64_t(rect.left()) + rect.width()};
}

Span vertical(const QRect &rect)
{
    return {rect.top(), int64_t(rect.top()) + rect.height()};
}

// The start that puts length pixels inside the screen's span, or at its start where they
// do not fit.
int clampedStart(int64_t start, int length, const Span &screen)
{
    return int(std::clamp<int64_t>(start, screen.start, std::max(screen.start, screen.end - length)));
}

} // namespace

QPoint placeOnScreens(QPoint place, QSize size, const QList<QRect> &screens)
{
    const Span across{place.x(), int64_t(place.x()) + size.width()};
    const Span title{place.y(), int64_t(place.y()) + std::min(size.height(), shownTitleHeight)};
    const auto titleShownOn = [&](const QRect &screen) {
        return across.overlap(horizontal(screen)) >= std::min(size.width(), shownTitleWidth)
            && title.overlap(vertical(screen)) >= title.end - title.start;
    };
    if (screens.isEmpty() || std::any_of(screens.begin(), screens.end(), titleShownOn))
        return place;
    const auto distance = [&](const QRect &screen) {
        return std::hypot(double(across.gap(horizontal(screen))), double(title.gap(vertical(screen))));
    };
    const QRect nearest = *std::min_element(screens.begin(), screens.end(),
                                            [&](const QRect &a, const QRect &b) { return distance(a) < distance(b); });
    return {clampedStart(place.x(), size.width(), horizontal(nearest)),
            clampedStart(place.y(), size.height(), vertical(nearest))};
}

QSize sizeWithinScreen(const QSize &size, const QPoint &place)
{
    const QScreen *screen = QGuiApplication::screenAt(place);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? size.boundedTo(screen->availableGeometry().size()) : size;
}

void moveOntoScreens(QWidget &window)
{
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    window.move(placeOnScreens(window.pos(), window.size(), screens));
}
