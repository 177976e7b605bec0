#include "capture/longshot/PageScroller.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr DWORD kAnswerMs = 2000;

bool HasVerticalScrollBar(HWND window)
{
    if (!(GetWindowLongPtrA(window, GWL_STYLE) & WS_VSCROLL))
        return false;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    return GetScrollInfo(window, SB_VERT, &info) && info.nMax - info.nMin + 1 > static_cast<int>(info.nPage);
}
}  // namespace

CPageScroller::CPageScroller(POINT point) : m_point(point)
{
    m_target = WindowFromPoint(point);
    for (HWND window = m_target; window; window = GetAncestor(window, GA_PARENT)) {
        if (window == GetDesktopWindow())
            break;
        if (HasVerticalScrollBar(window)) {
            m_scrollBar = window;
            break;
        }
    }
}

bool CPageScroller::ScrollBarInfo(SCROLLINFO& info) const
{
    info = SCROLLINFO{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    return m_scrollBar && GetScrollInfo(m_scrollBar, SB_VERT, &info) && info.nPage > 0;
}

bool CPageScroller::IsPainting() const
{
    return (m_target && GetUpdateRect(m_target, nullptr, FALSE)) ||
           (m_scrollBar && GetUpdateRect(m_scrollBar, nullptr, FALSE));
}

bool CPageScroller::CanGoDown() const
{
    SCROLLINFO info;
    if (!ScrollBarInfo(info))
        return true;
    return info.nPos < info.nMax - static_cast<int>(info.nPage) + 1;
}

// The bar's messages are sent, so that the window has moved its content when they return;
// the wheel's are posted as the system posts them, to the window at the point.
int CPageScroller::Scroll(int steps)
{
    m_bBarMoved = false;
    if (steps == 0)
        return 0;
    SCROLLINFO before;
    const bool knownBefore = ScrollBarInfo(before);
    DWORD_PTR answer = 0;
    for (int i = 0; i < std::abs(steps); ++i) {
        if (m_scrollBar)
            SendMessageTimeoutA(m_scrollBar, WM_VSCROLL, steps > 0 ? SB_LINEDOWN : SB_LINEUP, 0,
                                SMTO_ABORTIFHUNG, kAnswerMs, &answer);
        else
            PostMessageA(m_target, WM_MOUSEWHEEL, MAKEWPARAM(0, steps > 0 ? -WHEEL_DELTA : WHEEL_DELTA),
                         MAKELPARAM(m_point.x, m_point.y));
    }
    if (m_scrollBar)
        SendMessageTimeoutA(m_scrollBar, WM_VSCROLL, SB_ENDSCROLL, 0, SMTO_ABORTIFHUNG, kAnswerMs, &answer);
    // The bar's page is its window's height in the bar's units: the units moved give the pixels.
    SCROLLINFO after;
    RECT client{};
    m_bBarMoved = knownBefore && ScrollBarInfo(after) && after.nPos != before.nPos;
    if (knownBefore && ScrollBarInfo(after) && GetClientRect(m_scrollBar, &client))
        return static_cast<int>(std::lround(double(after.nPos - before.nPos) * client.bottom / after.nPage));
    return static_cast<int>(std::lround(m_pixelsPerStep * steps));
}

void CPageScroller::Moved(int steps, int pixels)
{
    if (steps != 0 && pixels != 0)
        m_pixelsPerStep = std::fabs(double(pixels) / steps);
}

int CPageScroller::StepsFor(int pixels) const
{
    if (m_pixelsPerStep <= 0)
        return 1;
    return std::max(1, static_cast<int>(pixels / m_pixelsPerStep));
}
