#pragma once
#include <windows.h>

#include <vector>

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

// A rectangle of the screen as it is shown, row by row, one 0x00RRGGBB value a pixel.
std::vector<DWORD> ScreenPixels(const RECT& place);
// The same of a whole bitmap, whose size goes to size; empty when it cannot be read.
std::vector<DWORD> BitmapPixels(HBITMAP bitmap, SIZE& size);

// Whether the screen shows what each visible top-level window of this thread holds, at
// its middle where nothing lies above it. When a window that covered them goes, the X
// server shows the others again only once they have handled that.
bool ScreenShowsThreadWindows();
