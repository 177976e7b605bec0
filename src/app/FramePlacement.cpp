#include "app/FramePlacement.h"

#include <algorithm>

#include "app/FrameClass.h"

namespace {
RECT WorkArea()
{
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}
}  // namespace

void StepAsideFromOtherCopy(HWND frame)
{
    HWND other = nullptr;
    do
        other = FindWindowExA(nullptr, other, kFrameClassName, nullptr);
    while (other == frame);
    if (!other)
        return;
    RECT theirs{}, mine{};
    GetWindowRect(other, &theirs);
    GetWindowRect(frame, &mine);
    const RECT workArea = WorkArea();
    const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    const int left = theirs.left + step + (mine.right - mine.left) <= workArea.right ? theirs.left + step : workArea.left;
    const int top = theirs.top + step + (mine.bottom - mine.top) <= workArea.bottom ? theirs.top + step : workArea.top;
    SetWindowPos(frame, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WidenToClientWidth(HWND frame, int clientWidth)
{
    RECT outer{}, client{};
    GetWindowRect(frame, &outer);
    GetClientRect(frame, &client);
    const RECT workArea = WorkArea();
    const int needed = clientWidth + (outer.right - outer.left) - client.right;
    const int width = std::min<int>(needed, workArea.right - workArea.left);
    if (width <= outer.right - outer.left)
        return;
    const int left = std::max<int>(workArea.left, std::min<int>(outer.left, workArea.right - width));
    SetWindowPos(frame, nullptr, left, outer.top, width, outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
}
