#pragma once
#include <windows.h>

#include "scoped/NonCopyable.h"

// Reads pixels as they are shown: what a window's client area shows once it has painted
// or the whole screen, or what a bitmap holds.
class CPixelReader : CNonCopyable {
public:
    CPixelReader() : CPixelReader(static_cast<HWND>(nullptr)) {} // the screen
    explicit CPixelReader(HWND window);
    explicit CPixelReader(HBITMAP bitmap);
    ~CPixelReader();

    COLORREF At(int x, int y) const { return GetPixel(m_hDC, x, y); }
    COLORREF At(POINT point) const { return At(point.x, point.y); }

private:
    HWND m_hWnd = nullptr;
    HDC m_hDC;
    bool m_bMemory = false;
    HGDIOBJ m_hPrevious = nullptr; // what the bitmap displaced in our memory DC
};

inline COLORREF ShownPixel(HWND window, int x, int y)
{
    return CPixelReader(window).At(x, y);
}

inline COLORREF BitmapPixel(HBITMAP bitmap, int x, int y)
{
    return CPixelReader(bitmap).At(x, y);
}
