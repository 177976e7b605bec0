#include "ScreenLayout.h"

#include <algorithm>
#include <climits>
#include <new>
#include <utility>

namespace snapcore {
namespace {

constexpr int kLabelGap = 3;

} // namespace

CScreenLayout::CScreenLayout(const RECT& bounds, std::vector<RECT> monitors)
    : m_rcBounds(bounds), m_monitors(std::move(monitors))
{
}

CScreenLayout CScreenLayout::OfSystem(const RECT& bounds)
{
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return CScreenLayout(bounds, std::move(monitors));
}

BOOL CALLBACK CScreenLayout::AddMonitor(HMONITOR, HDC, RECT* area, LPARAM monitors)
{
    // No exception may unwind through the system's enumeration.
    try {
        reinterpret_cast<std::vector<RECT>*>(monitors)->push_back(*area);
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

RECT CScreenLayout::MonitorAt(POINT point) const
{
    const RECT* nearest = &m_rcBounds;
    LONG nearestDistance = LONG_MAX;
    for (const RECT& monitor : m_monitors) {
        const LONG dx = point.x < monitor.left ? monitor.left - point.x : std::max(0L, point.x - (monitor.right - 1));
        const LONG dy = point.y < monitor.top ? monitor.top - point.y : std::max(0L, point.y - (monitor.bottom - 1));
        if (dx + dy < nearestDistance) {
            nearest = &monitor;
            nearestDistance = dx + dy;
        }
    }
    return *nearest;
}

bool CScreenLayout::Shows(POINT point) const
{
    if (m_monitors.empty())
        return PtInRect(&m_rcBounds, point) != FALSE;
    return std::any_of(m_monitors.begin(), m_monitors.end(),
                       [point](const RECT& monitor) { return PtInRect(&monitor, point) != FALSE; });
}

// Each corner is the top-left corner of the pixel it was set on, except for the far
// edge of an axis: where the pointer could go no further right or down from the pixel
// that gives it, it is that pixel's far edge, so that a monitor's last column and row can
// be taken in. A drag from p to q thus selects |q - p| pixels in each direction.
RECT CScreenLayout::Selection(POINT anchor, POINT pointer) const
{
    RECT selection{std::min(anchor.x, pointer.x), std::min(anchor.y, pointer.y), std::max(anchor.x, pointer.x),
                   std::max(anchor.y, pointer.y)};
    const POINT right = anchor.x > pointer.x ? anchor : pointer;
    const POINT bottom = anchor.y > pointer.y ? anchor : pointer;
    if (selection.right > selection.left && !Shows(POINT{right.x + 1, right.y}))
        ++selection.right;
    if (selection.bottom > selection.top && !Shows(POINT{bottom.x, bottom.y + 1}))
        ++selection.bottom;
    return selection;
}

RECT CScreenLayout::MonitorShowing(const RECT& subject) const
{
    const RECT* best = nullptr;
    LONGLONG bestArea = 0;
    for (const RECT& monitor : m_monitors) {
        RECT common;
        if (!IntersectRect(&common, &monitor, &subject))
            continue;
        const LONGLONG area = LONGLONG{common.right - common.left} * (common.bottom - common.top);
        if (area > bestArea) {
            best = &monitor;
            bestArea = area;
        }
    }
    return best ? *best : MonitorAt(POINT{subject.left, subject.top});
}

namespace {

// Moves rect by as little as it takes to lie on screen, as far as it fits.
RECT KeptOn(const RECT& screen, RECT rect)
{
    OffsetRect(&rect, std::max(0L, screen.left - rect.left) - std::max(0L, rect.right - screen.right),
               std::max(0L, screen.top - rect.top) - std::max(0L, rect.bottom - screen.bottom));
    return rect;
}

bool Overlap(const RECT& a, const RECT& b)
{
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
}

} // namespace

RECT CScreenLayout::PlaceLabel(const RECT& subject, SIZE size, int frame, const RECT& clearOf) const
{
    const RECT screen = MonitorShowing(subject);
    RECT shown;
    if (!IntersectRect(&shown, &subject, &screen))
        shown = subject;
    RECT label{shown.left, shown.top - kLabelGap - size.cy, shown.left + size.cx, shown.top - kLabelGap};
    if (label.top < screen.top)
        OffsetRect(&label, frame + kLabelGap, size.cy + 2 * kLabelGap + frame);
    label = KeptOn(screen, label);
    if (!Overlap(label, clearOf))
        return label;
    // Beside the magnifier on the same row, else above or below it in the same column.
    const RECT beside[] = {
        {clearOf.right + kLabelGap, label.top, clearOf.right + kLabelGap + size.cx, label.bottom},
        {clearOf.left - kLabelGap - size.cx, label.top, clearOf.left - kLabelGap, label.bottom},
        {label.left, clearOf.top - kLabelGap - size.cy, label.right, clearOf.top - kLabelGap},
        {label.left, clearOf.bottom + kLabelGap, label.right, clearOf.bottom + kLabelGap + size.cy},
    };
    for (const RECT& place : beside) {
        const RECT kept = KeptOn(screen, place);
        if (!Overlap(kept, clearOf))
            return kept;
    }
    return label;
}

} // namespace snapcore
