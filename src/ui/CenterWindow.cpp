#include "ui/CenterWindow.h"

#include <algorithm>

void CenterOverOwner(HWND hWnd)
{
    HWND hOwner = GetWindow(hWnd, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(hOwner ? hOwner : hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& rcWork = monitor.rcWork;

    RECT rcOver = rcWork;
    if (hOwner && IsWindowVisible(hOwner) && !IsIconic(hOwner))
        GetWindowRect(hOwner, &rcOver);
    RECT rcWindow;
    GetWindowRect(hWnd, &rcWindow);
    const int width = rcWindow.right - rcWindow.left;
    const int height = rcWindow.bottom - rcWindow.top;
    int x = (rcOver.left + rcOver.right - width) / 2;
    int y = (rcOver.top + rcOver.bottom - height) / 2;
    // Right and bottom first, so that a window larger than the work area keeps its caption visible.
    x = std::max<int>(rcWork.left, std::min<int>(x, rcWork.right - width));
    y = std::max<int>(rcWork.top, std::min<int>(y, rcWork.bottom - height));
    SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
