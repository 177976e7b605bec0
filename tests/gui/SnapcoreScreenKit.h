// What the capture engine's GUI tests share: the engine loaded by path as the program
// loads it, a window with a known pattern at a known place, and captured bitmaps read
// back pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "MessagePump.h"
#include "QuartersWindow.h"
#include "snapcore.h"

using CaptureFullScreenFn = decltype(&CaptureFullScreen);
using DoCaptureModalFn = decltype(&DoCaptureModal);
using CreateSkinManagerFn = decltype(&CreateSkinManager);
using SelectOnFrozenScreenFn = decltype(&SelectOnFrozenScreen);

template <typename Proc>
Proc Resolve(HMODULE module, const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

extern const COLORREF kQuadrantColours[4];
extern const RECT kPatternPlace; // quadrants of 120 x 80 pixels

// The colour the pattern shows at a screen point inside kPatternPlace.
COLORREF PatternColourAt(POINT point);

RECT VirtualScreen();

// A topmost popup at kPatternPlace painted in the four quadrant colours, with the
// given cursor so that the pointer above it is a real, visible shape.
class CPatternWindow : public CQuartersWindow {
public:
    explicit CPatternWindow(HCURSOR cursor = LoadCursor(nullptr, IDC_ARROW))
        : CQuartersWindow(kPatternPlace, kQuadrantColours, cursor)
    {
    }
};

// A topmost popup filled with one colour.
class CSolidWindow : public CQuartersWindow {
public:
    CSolidWindow(const RECT& place, COLORREF colour) : CQuartersWindow(place, {colour, colour, colour, colour}) {}
};

// A plain window of the system's own classes, destroyed with its children.
class CSystemWindow {
public:
    CSystemWindow(const char* windowClass, DWORD style, const RECT& place, HWND parent = nullptr, DWORD exStyle = 0)
        : m_hWnd(CreateWindowExA(exStyle, windowClass, "", style, place.left, place.top, place.right - place.left,
                                 place.bottom - place.top, parent, nullptr, GetModuleHandleA(nullptr), nullptr))
    {
    }
    ~CSystemWindow() { DestroyWindow(m_hWnd); }
    CSystemWindow(const CSystemWindow&) = delete;
    CSystemWindow& operator=(const CSystemWindow&) = delete;
    HWND Handle() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

// A solid black square cursor with its hot spot in the middle, so that where it lands
// shows whether the hot spot was allowed for.
class CBlockCursor {
public:
    CBlockCursor();
    ~CBlockCursor();
    CBlockCursor(const CBlockCursor&) = delete;
    CBlockCursor& operator=(const CBlockCursor&) = delete;

    HCURSOR Handle() const { return m_hCursor; }
    // Where the block covers the screen with its hot spot at pointer.
    RECT PlaceFor(POINT pointer) const;

private:
    SIZE m_size;
    HCURSOR m_hCursor;
};

// Moves the pointer to point, over a window whose cursor is shape, and waits until the
// system shows that shape there; whether it does.
bool ShowPointerAt(HCURSOR shape, POINT point);

// A captured bitmap read back as 0x00RRGGBB pixels, addressed by screen coordinates:
// its top-left pixel shows the screen point origin (by default the virtual screen's).
class CScreenImage {
public:
    explicit CScreenImage(HBITMAP bitmap);
    CScreenImage(HBITMAP bitmap, POINT origin);

    bool IsEmpty() const { return m_pixels.empty(); }
    SIZE Size() const { return SIZE{m_nWidth, m_nHeight}; }
    int BitsPerPixel() const { return m_nBitsPerPixel; }
    COLORREF At(int screenX, int screenY) const;

private:
    POINT m_origin;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nBitsPerPixel = 0;
    std::vector<uint32_t> m_pixels;
};
