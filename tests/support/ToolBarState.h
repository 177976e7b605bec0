#pragma once
#include <windows.h>
#include <commctrl.h>

// Whether a toolbar in the frame's rebar shows the tool of command as chosen; false when
// no toolbar there has the command.
inline bool ToolChosen(HWND frame, int command)
{
    HWND rebar = FindWindowExA(frame, nullptr, REBARCLASSNAMEA, nullptr);
    for (HWND bar = FindWindowExA(rebar, nullptr, TOOLBARCLASSNAMEA, nullptr); bar;
         bar = FindWindowExA(rebar, bar, TOOLBARCLASSNAMEA, nullptr))
        if (SendMessageA(bar, TB_COMMANDTOINDEX, command, 0) >= 0)
            return SendMessageA(bar, TB_ISBUTTONCHECKED, command, 0) != 0;
    return false;
}
