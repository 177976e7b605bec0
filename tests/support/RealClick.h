#pragma once
#include <windows.h>

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
