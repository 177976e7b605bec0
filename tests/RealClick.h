#pragma once
#include <windows.h>

// A real left click at a point of the screen, through the system's input queue, as
// a user's click arrives (menus and controls see the press and the release).
inline void ClickAtScreen(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}
