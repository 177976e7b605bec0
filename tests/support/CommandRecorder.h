#pragma once
#include <windows.h>

#include <vector>

// A stand-in for the window a bar or preview reports to: it keeps the command ids of the
// WM_COMMAND messages it gets, in order.
inline std::vector<UINT>& RecordedCommands()
{
    static std::vector<UINT> commands;
    return commands;
}

// A popup window at place that records commands; the record starts empty.
inline HWND MakeCommandRecorder(const RECT& place, DWORD exStyle = 0, DWORD style = 0)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_COMMAND)
            RecordedCommands().push_back(LOWORD(wParam));
        return DefWindowProcA(window, message, wParam, lParam);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TestCommandRecorder";
    RegisterClassA(&wc);
    RecordedCommands().clear();
    return CreateWindowExA(exStyle, wc.lpszClassName, nullptr, WS_POPUP | WS_VISIBLE | style, place.left, place.top,
                           place.right - place.left, place.bottom - place.top, nullptr, nullptr, wc.hInstance, nullptr);
}
