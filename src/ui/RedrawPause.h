#pragma once
#include <windows.h>

// Switches a window's redrawing off for as long as the object lives, then redraws
// the window once with its children and all their frames. A null window pauses
// nothing.
class CRedrawPause {
public:
    explicit CRedrawPause(HWND window) : m_hWnd(window)
    {
        if (m_hWnd)
            SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    }
    ~CRedrawPause()
    {
        if (!m_hWnd)
            return;
        SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    CRedrawPause(const CRedrawPause&) = delete;
    CRedrawPause& operator=(const CRedrawPause&) = delete;

private:
    HWND m_hWnd;
};
