#include "view/map_zoom.h"

#include "view/canvas.h"

#include <array>

namespace tamo {

namespace {

struct ZoomStep
{
    int numerator;
    int denominator;
    int reduction;
    const char *setting;
    const char *text;
};

constexpr std::array<ZoomStep, 7> Steps{{
    {1, 8, 3, "1/8", "12.5%"},
    {1, 4, 2, "1/4", "25%"},
    {1, 2, 1, "1/2", "50%"},
    {1, 1, 0, "1", "100%"},
    {2, 1, 0, "2", "200%"},
    {3, 1, 0, "3", "300%"},
    {4, 1, 0, "4", "400%"},
}};
constexpr int LastStep = int(Steps.size()) - 1;

// Division rounding toward minus infinity, for positions left of or above the image.
int floorDivide(long long value, int divisor)
{
    const long long quotient = value / divisor;
    return int(quotient * divisor > value ? quotient - 1 : quotient);
}

} // namespace

MapZoom MapZoom::FromSetting(std::string_view setting)
{
    for (int step = 0; step <= LastStep; ++step) {
        if (setting == Steps[step].setting)
            return MapZoom(step);
    }
    return {};
}

std::string MapZoom::setting() const
{
    return Steps[m_step].setting;
}

std::string MapZoom::text() const
{
    return Steps[m_step].text;
}

MapZoom MapZoom::zoomedIn() const
{
    return MapZoom(m_step < LastStep ? m_step + 1 : m_step);
}

MapZoom MapZoom::zoomedOut() const
{
    return MapZoom(m_step > 0 ? m_step - 1 : m_step);
}

int MapZoom::numerator() const
{
    return Steps[m_step].numerator;
}

int MapZoom::denominator() const
{
    return Steps[m_step].denominator;
}

int MapZoom::reduction() const
{
    return Steps[m_step].reduction;
}

int MapZoom::toView(int imagePixels) const
{
    return floorDivide((long long)imagePixels * numerator(), denominator());
}

int MapZoom::toImage(int viewPixels) const
{
    return floorDivide((long long)viewPixels * denominator(), numerator());
}

int MapZoom::scrollStep() const
{
    return toView(CellPixels);
}

} // namespace tamo
