// The system's part in a simulated PrintScreen, for the engine's tests and the program's.
#pragma once

#include <windows.h>

#include <thread>

// A solid bitmap of the given size and colour as the clipboard's new content.
void PutBitmapOnClipboard(HWND owner, SIZE size, COLORREF colour);

// Stands in for a system that answers the PrintScreen key (Wine does not): a window in
// the foreground on a thread of its own that, when the key comes up, puts a bitmap of
// the given size and colour on the clipboard.
class CPrintScreenResponder {
public:
    CPrintScreenResponder(SIZE size, COLORREF colour);
    ~CPrintScreenResponder();
    CPrintScreenResponder(const CPrintScreenResponder&) = delete;
    CPrintScreenResponder& operator=(const CPrintScreenResponder&) = delete;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Run(HANDLE ready);

    SIZE m_size;
    COLORREF m_colour;
    DWORD m_dwThreadId = 0;
    std::thread m_thread;
};
