#include "PixelReader.h"
#include "gui/SnapcoreScreenKit.h"
#include "scoped/ScopedHandles.h"

const COLORREF kQuadrantColours[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
const RECT kPatternPlace = {200, 150, 440, 310};

COLORREF PatternColourAt(POINT point)
{
    for (int i = 0; i < 4; ++i) {
        const RECT quadrant = Quadrant(kPatternPlace, i);
        if (PtInRect(&quadrant, point))
            return kQuadrantColours[i];
    }
    return CLR_INVALID;
}

CBlockCursor::CBlockCursor() : m_size{GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR)}
{
    // AND mask 0 and XOR mask 0: every pixel black.
    const std::vector<BYTE> zeros(static_cast<size_t>(m_size.cx) * m_size.cy / 8);
    m_hCursor = CreateCursor(GetModuleHandleA(nullptr), m_size.cx / 2, m_size.cy / 2, m_size.cx, m_size.cy,
                             zeros.data(), zeros.data());
}

CBlockCursor::~CBlockCursor()
{
    DestroyCursor(m_hCursor);
}

RECT CBlockCursor::PlaceFor(POINT pointer) const
{
    const LONG left = pointer.x - m_size.cx / 2, top = pointer.y - m_size.cy / 2;
    return RECT{left, top, left + m_size.cx, top + m_size.cy};
}

// The window sets its cursor when the move reaches it.
bool ShowPointerAt(HCURSOR shape, POINT point)
{
    SetCursorPos(point.x, point.y);
    CURSORINFO cursor{};
    return PumpUntil([&] {
        cursor.cbSize = sizeof(cursor);
        return GetCursorInfo(&cursor) && cursor.hCursor == shape && (cursor.flags & CURSOR_SHOWING);
    }, 1000);
}

RECT VirtualScreen()
{
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

CScreenImage::CScreenImage(HBITMAP bitmap) : CScreenImage(bitmap, POINT{VirtualScreen().left, VirtualScreen().top}) {}

CScreenImage::CScreenImage(HBITMAP bitmap, POINT origin) : m_origin(origin)
{
    BITMAP shape{};
    if (!GetObjectA(bitmap, sizeof(shape), &shape))
        return;
    m_nBitsPerPixel = shape.bmBitsPixel;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = shape.bmWidth;
    format.bmiHeader.biHeight = -shape.bmHeight; // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    m_pixels.resize(static_cast<size_t>(shape.bmWidth) * shape.bmHeight);
    if (GetDIBits(CScreenDC(), bitmap, 0, shape.bmHeight, m_pixels.data(), &format, DIB_RGB_COLORS) == shape.bmHeight) {
        m_nWidth = shape.bmWidth;
        m_nHeight = shape.bmHeight;
    } else {
        m_pixels.clear();
    }
}

COLORREF CScreenImage::At(int screenX, int screenY) const
{
    const uint32_t rgb = m_pixels[static_cast<size_t>(screenY - m_origin.y) * m_nWidth + (screenX - m_origin.x)];
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
