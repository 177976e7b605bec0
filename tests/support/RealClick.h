#pragma once
#include <windows.h>

#include <initializer_list>

// The middle of a rectangle.
inline POINT CentreOf(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The middle of a window on the screen.
inline POINT WindowCentre(HWND window)
{
    RECT place{};
    GetWindowRect(window, &place);
    return CentreOf(place);
}

// Real mouse input at a point of the screen, through the system's input queue, as a
// user's mouse sends it: a move there with the given button or wheel flags. Absolute
// moves are in the primary monitor's 0-65535 units.
inline void MouseAtScreen(POINT screen, DWORD flags = 0, int wheel = 0)
{
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1, height = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65535LL + width / 2) / width);
    input.mi.dy = static_cast<LONG>((screen.y * 65535LL + height / 2) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    input.mi.mouseData = static_cast<DWORD>(wheel);
    SendInput(1, &input, sizeof(INPUT));
}

// The same at a point of a window's client area.
inline void MouseAt(HWND window, POINT client, DWORD flags = 0, int wheel = 0)
{
    ClientToScreen(window, &client);
    MouseAtScreen(client, flags, wheel);
}

// A real click at a point of the screen, through the system's input queue, as a
// user's click arrives (menus and controls see the press and the release). The left
// button unless the right one's flags are given. The press and the release carry the
// point: the display reports the pointer's earlier moves some time later, and a click
// that took the pointer's place when it is handled could land where an earlier one did.
inline void ClickAtScreen(POINT screen, DWORD press = MOUSEEVENTF_LEFTDOWN, DWORD release = MOUSEEVENTF_LEFTUP)
{
    SetCursorPos(screen.x, screen.y);
    MouseAtScreen(screen, press);
    MouseAtScreen(screen, release);
}

// A real click at the middle of a rectangle of a window's client area (a button, a
// row, a tab), or at the middle of the whole window.
inline void ClickInWindow(HWND window, const RECT& client)
{
    POINT centre = CentreOf(client);
    ClientToScreen(window, &centre);
    ClickAtScreen(centre);
}
inline void ClickWindow(HWND window)
{
    ClickAtScreen(WindowCentre(window));
}

// A real left-button drag on the screen: press at the first point, move along the
// path in steps, release at the last, each as the system's input queue delivers a
// user's mouse.
inline void DragOnScreen(std::initializer_list<POINT> path, int stepsPerLeg = 8)
{
    auto moveTo = [](LONG x, LONG y, DWORD button) {
        MouseAtScreen(POINT{x, y}, button);
        Sleep(15);
    };
    const POINT* point = path.begin();
    moveTo(point->x, point->y, 0);
    moveTo(point->x, point->y, MOUSEEVENTF_LEFTDOWN);
    for (; point + 1 != path.end(); ++point) {
        const POINT from = point[0], to = point[1];
        for (int i = 1; i <= stepsPerLeg; ++i)
            moveTo(from.x + (to.x - from.x) * i / stepsPerLeg, from.y + (to.y - from.y) * i / stepsPerLeg, 0);
    }
    const POINT last = path.end()[-1];
    moveTo(last.x, last.y, MOUSEEVENTF_LEFTUP);
}
