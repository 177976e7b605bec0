#pragma once
#include <windows.h>

#include <vector>

// A topmost popup of this thread showing a picture (0x00RRGGBB, top-down) at 100% with its
// top-left pixel at origin: known content at a known place of the screen for a capture to
// take. Shown() says whether the screen showed it before the deadline.
class CPictureWindow {
public:
    CPictureWindow(POINT origin, int width, int height, const std::vector<DWORD>& pixels);
    ~CPictureWindow();
    CPictureWindow(const CPictureWindow&) = delete;
    CPictureWindow& operator=(const CPictureWindow&) = delete;

    bool Shown() const { return m_bShown; }
    // Where picture point (x, y) is on the screen.
    POINT ScreenPoint(int x, int y) const { return POINT{m_origin.x + x, m_origin.y + y}; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    POINT m_origin;
    int m_width, m_height;
    std::vector<DWORD> m_pixels;
    HWND m_hWnd = nullptr;
    bool m_bShown = false;
};
