// The floor of starting a program: a window and its message loop, nothing else. With
// "dlls" on its command line it first loads the system DLLs lumigrab.exe imports, to
// show what loading them costs under this system.
#include <windows.h>

#include <cstring>

#include "ProgramDlls.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
    if (std::strstr(commandLine, "dlls"))
        LoadProgramDlls();
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    };
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "EmptyProgram";
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowExA(0, wc.lpszClassName, "Empty", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    ShowWindow(hWnd, show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
