#pragma once
#include <windows.h>

// Top-left, top-right, bottom-left, bottom-right quarter of r.
RECT Quadrant(const RECT& r, int index);

// A topmost popup of this thread in four solid quarters, in the foreground: a known
// picture at a known place of the screen for a capture to take. The X server shows a
// window some time after it is painted, so it is made once the screen shows every
// quarter; Shown() says whether that happened before the deadline.
class CQuartersWindow {
public:
    CQuartersWindow(const RECT& place, const COLORREF (&colours)[4], HCURSOR cursor = LoadCursor(nullptr, IDC_ARROW));
    ~CQuartersWindow();
    CQuartersWindow(const CQuartersWindow&) = delete;
    CQuartersWindow& operator=(const CQuartersWindow&) = delete;

    HWND Handle() const { return m_hWnd; }
    bool Shown() const { return m_bShown; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    COLORREF m_colours[4];
    HCURSOR m_hCursor;
    HWND m_hWnd = nullptr;
    bool m_bShown = false;
};
