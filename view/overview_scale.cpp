#include "view/overview_scale.h"

#include "view/reduced_copies.h"

#include <algorithm>
#include <cstdint>

namespace tamo {

namespace {

// length * numerator / denominator, rounded down or up, without overflow for the sizes
// of stage pictures (up to 65,760 pixels).
int scaledDown(int length, int numerator, int denominator)
{
    return int(int64_t(length) * numerator / denominator);
}

int scaledUp(int length, int numerator, int denominator)
{
    return int((int64_t(length) * numerator + denominator - 1) / denominator);
}

// The overview pixels [first, last) that show stage pixels [begin, end) of length stage,
// the overview being size pixels long; at least one pixel.
std::pair<int, int> overviewSpan(int begin, int end, int stage, int size)
{
    begin = std::clamp(begin, 0, stage);
    end = std::clamp(end, begin, stage);
    int first = std::min(scaledDown(begin, size, stage), size - 1);
    int last = std::max(scaledUp(end, size, stage), first + 1);
    return {first, last};
}

} // namespace

OverviewScale::OverviewScale(int stageWidth, int stageHeight, int roomWidth, int roomHeight)
    : m_stageWidth(stageWidth)
    , m_stageHeight(stageHeight)
{
    if (stageWidth <= 0 || stageHeight <= 0 || roomWidth <= 0 || roomHeight <= 0)
        return;
    m_width = std::min({stageWidth, roomWidth, scaledDown(stageWidth, roomHeight, stageHeight)});
    m_width = std::max(m_width, 1);
    m_height = std::clamp(scaledDown(stageHeight, m_width, stageWidth), 1, stageHeight);
}

int OverviewScale::reduction() const
{
    int reduction = 0;
    while (reduction < ReducedCopies::Count && (m_stageWidth >> (reduction + 1)) >= m_width
           && (m_stageHeight >> (reduction + 1)) >= m_height)
        ++reduction;
    return reduction;
}

PixelArea OverviewScale::toOverview(const PixelArea &stageArea) const
{
    if (m_width == 0)
        return {};
    const auto [left, right] = overviewSpan(stageArea.left, stageArea.left + stageArea.width, m_stageWidth, m_width);
    const auto [top, bottom] = overviewSpan(stageArea.top, stageArea.top + stageArea.height, m_stageHeight, m_height);
    return {left, top, right - left, bottom - top};
}

PicturePoint OverviewScale::toStage(PicturePoint overview) const
{
    if (m_width == 0)
        return {};
    const auto middle = [](int at, int size, int stage) {
        at = std::clamp(at, 0, size - 1);
        return int((int64_t(2 * at + 1) * stage) / (2 * int64_t(size)));
    };
    return {middle(overview.x, m_width, m_stageWidth), middle(overview.y, m_height, m_stageHeight)};
}

} // namespace tamo
