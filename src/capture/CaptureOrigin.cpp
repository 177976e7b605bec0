#include "capture/CaptureOrigin.h"

#include "capture/CaptureEngine.h"

namespace {
constexpr int kFullScreen = 0, kRegion = 2;

bool HasSize(const RECT& rect, SIZE size)
{
    return rect.right - rect.left == size.cx && rect.bottom - rect.top == size.cy;
}

RECT VirtualScreen()
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The engine cuts a picked window to the screen, so the comparison does too.
bool FindWindowOfSize(POINT pointer, SIZE size, POINT& origin)
{
    const RECT screen = VirtualScreen();
    for (HWND window = WindowFromPoint(pointer); window; window = GetAncestor(window, GA_PARENT)) {
        RECT place;
        if (window == GetDesktopWindow() || !GetWindowRect(window, &place) || !IntersectRect(&place, &place, &screen))
            continue;
        if (HasSize(place, size)) {
            origin = {place.left, place.top};
            return true;
        }
    }
    return false;
}
}

POINT FindCaptureOrigin(int mode, SIZE pictureSize, const CSettings& settings)
{
    const int resolved = CCaptureEngine::ResolveMode(mode, settings.m_nModalMode);
    if (resolved == kFullScreen) {
        const RECT screen = VirtualScreen();
        return {screen.left, screen.top};
    }
    if (resolved == kRegion && settings.m_bHasLastRegion && HasSize(settings.m_rcLastRegion, pictureSize))
        return {settings.m_rcLastRegion.left, settings.m_rcLastRegion.top};
    POINT pointer{}, origin{};
    GetCursorPos(&pointer);
    if (resolved != kRegion && FindWindowOfSize(pointer, pictureSize, origin))
        return origin;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return {(monitor.rcWork.left + monitor.rcWork.right - pictureSize.cx) / 2,
            (monitor.rcWork.top + monitor.rcWork.bottom - pictureSize.cy) / 2};
}
