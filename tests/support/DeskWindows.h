#pragma once
#include <windows.h>
#include <commctrl.h>

#include "RealClick.h"

// The capture desk's windows as a user finds them on the screen.

inline HWND Desk()
{
    return FindWindowA("LumigrabCaptureDesk", nullptr);
}

inline HWND DeskBar()
{
    return FindWindowExA(Desk(), nullptr, "LumigrabDeskToolBar", nullptr);
}

// The desk is up and takes the keys.
inline bool DeskHasKeyboard()
{
    HWND desk = Desk();
    return desk && IsWindowVisible(desk) && GetFocus() == desk;
}

// The strip of the desk's toolbar that holds command; null when none does.
inline HWND DeskBarStripWith(int command)
{
    HWND bar = DeskBar();
    for (HWND strip = FindWindowExA(bar, nullptr, TOOLBARCLASSNAMEA, nullptr); strip;
         strip = FindWindowExA(bar, strip, TOOLBARCLASSNAMEA, nullptr))
        if (SendMessageA(strip, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0) >= 0)
            return strip;
    return nullptr;
}

// The middle of the button of command on the desk's toolbar, on the screen.
inline POINT DeskBarButton(int command)
{
    HWND strip = DeskBarStripWith(command);
    RECT button{};
    if (!strip || !SendMessageA(strip, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&button)))
        return POINT{-1, -1};
    POINT middle = CentreOf(button);
    ClientToScreen(strip, &middle);
    return middle;
}

inline bool DeskBarButtonEnabled(int command)
{
    HWND strip = DeskBarStripWith(command);
    return strip && SendMessageA(strip, TB_ISBUTTONENABLED, static_cast<WPARAM>(command), 0) != 0;
}
