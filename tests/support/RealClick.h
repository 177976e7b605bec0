#pragma once
#include <windows.h>

#include <initializer_list>

// A real click at a point of the screen, through the system's input queue, as a
// user's click arrives (menus and controls see the press and the release). The left
// button unless the right one's flags are given.
inline void ClickAtScreen(POINT screen, DWORD press = MOUSEEVENTF_LEFTDOWN, DWORD release = MOUSEEVENTF_LEFTUP)
{
    SetCursorPos(screen.x, screen.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = press;
    input[1].mi.dwFlags = release;
    SendInput(2, input, sizeof(INPUT));
}

// A real left-button drag on the screen: press at the first point, move along the
// path in steps, release at the last, each as the system's input queue delivers a
// user's mouse. Absolute moves are in the primary monitor's 0-65535 units.
inline void DragOnScreen(std::initializer_list<POINT> path, int stepsPerLeg = 8)
{
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1, height = GetSystemMetrics(SM_CYSCREEN) - 1;
    auto moveTo = [&](LONG x, LONG y, DWORD button) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = static_cast<LONG>((x * 65535LL + width / 2) / width);
        input.mi.dy = static_cast<LONG>((y * 65535LL + height / 2) / height);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
        SendInput(1, &input, sizeof(INPUT));
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
