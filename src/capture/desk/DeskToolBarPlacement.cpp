#include "capture/desk/DeskToolBarPlacement.h"

#include <algorithm>

namespace {
long long Area(const RECT& rect)
{
    return static_cast<long long>(std::max(0L, rect.right - rect.left)) * std::max(0L, rect.bottom - rect.top);
}

long long OverlapArea(const RECT& a, const RECT& b)
{
    RECT common{};
    return IntersectRect(&common, &a, &b) ? Area(common) : 0;
}

// How far apart two rectangles are, on the longer axis; 0 when they touch or overlap.
long Distance(const RECT& a, const RECT& b)
{
    const long dx = std::max({0L, a.left - b.right, b.left - a.right});
    const long dy = std::max({0L, a.top - b.bottom, b.top - a.bottom});
    return std::max(dx, dy);
}

// A start that keeps a length within [low, high) where it fits, else at low.
long Clamp(long start, long length, long low, long high)
{
    return std::max(low, std::min(start, high - length));
}

POINT OnMonitor(POINT place, SIZE bar, const RECT& monitor)
{
    return POINT{Clamp(place.x, bar.cx, monitor.left, monitor.right),
                 Clamp(place.y, bar.cy, monitor.top, monitor.bottom)};
}
}

RECT MonitorShowingMost(const RECT& selection, const std::vector<RECT>& monitors)
{
    auto most = std::max_element(monitors.begin(), monitors.end(), [&](const RECT& a, const RECT& b) {
        return OverlapArea(a, selection) < OverlapArea(b, selection);
    });
    if (OverlapArea(*most, selection) > 0)
        return *most;
    return *std::min_element(monitors.begin(), monitors.end(), [&](const RECT& a, const RECT& b) {
        return Distance(a, selection) < Distance(b, selection);
    });
}

POINT PlaceDeskToolBar(const RECT& selection, SIZE bar, const std::vector<RECT>& monitors, const RECT& markedUp)
{
    const POINT below{selection.right - bar.cx, selection.bottom};
    if (monitors.empty())
        return below;
    const RECT monitor = MonitorShowingMost(selection, monitors);
    if (selection.bottom + bar.cy <= monitor.bottom)
        return OnMonitor(below, bar, monitor);
    if (selection.top - bar.cy >= monitor.top)
        return OnMonitor(POINT{below.x, selection.top - bar.cy}, bar, monitor);

    RECT shown{};
    if (!IntersectRect(&shown, &selection, &monitor))
        shown = monitor;
    const POINT corners[] = {
        {shown.right - bar.cx, shown.bottom - bar.cy},
        {shown.left, shown.bottom - bar.cy},
        {shown.right - bar.cx, shown.top},
        {shown.left, shown.top},
    };
    POINT best{};
    long long leastCovered = -1;
    for (const POINT& corner : corners) {
        const POINT place = OnMonitor(corner, bar, monitor);
        const RECT covers{place.x, place.y, place.x + bar.cx, place.y + bar.cy};
        const long long covered = OverlapArea(covers, markedUp);
        if (leastCovered < 0 || covered < leastCovered) {
            best = place;
            leastCovered = covered;
        }
    }
    return best;
}
