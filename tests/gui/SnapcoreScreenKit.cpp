#include "PixelReader.h"
#include "gui/SnapcoreScreenKit.h"
#include "scoped/ScopedHandles.h"

namespace {

const char kPatternClass[] = "SnapcorePatternWindow";
const char kSolidClass[] = "SnapcoreSolidWindow";

} // namespace

const COLORREF kQuadrantColours[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
const RECT kPatternPlace = {200, 150, 440, 310};

RECT Quadrant(const RECT& r, int index)
{
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    const bool right = index & 1, bottom = index & 2;
    return RECT{right ? midX : r.left, bottom ? midY : r.top, right ? r.right : midX, bottom ? r.bottom : midY};
}

COLORREF PatternColourAt(POINT point)
{
    for (int i = 0; i < 4; ++i) {
        const RECT quadrant = Quadrant(kPatternPlace, i);
        if (PtInRect(&quadrant, point))
            return kQuadrantColours[i];
    }
    return CLR_INVALID;
}

namespace {

// Registers the class and shows a topmost popup of it at place in the foreground; it
// returns once the screen shows colour at probe, as the X server shows a window some
// time after it is painted.
HWND ShowTopmostPopup(WNDCLASSA windowClass, const RECT& place, POINT probe, COLORREF colour)
{
    windowClass.hInstance = GetModuleHandleA(nullptr);
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE,
                                        place.left, place.top, place.right - place.left, place.bottom - place.top,
                                        nullptr, nullptr, windowClass.hInstance, nullptr);
    SetForegroundWindow(window);
    UpdateWindow(window);
    const CPixelReader screen;
    for (int attempt = 0; attempt < 100 && screen.At(probe) != colour; ++attempt)
        PumpFor(20);
    return window;
}

LRESULT CALLBACK PatternWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    for (int i = 0; i < 4; ++i) {
        const RECT quadrant = Quadrant(client, i);
        SetDCBrushColor(dc, kQuadrantColours[i]);
        FillRect(dc, &quadrant, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    EndPaint(window, &paint);
    return 0;
}

} // namespace

CPatternWindow::CPatternWindow(HCURSOR cursor)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PatternWindowProc;
    windowClass.hCursor = cursor;
    windowClass.lpszClassName = kPatternClass;
    const RECT last = Quadrant(kPatternPlace, 3);
    m_hWnd = ShowTopmostPopup(windowClass, kPatternPlace, POINT{last.left, last.top}, kQuadrantColours[3]);
}

CPatternWindow::~CPatternWindow()
{
    DestroyWindow(m_hWnd);
    UnregisterClassA(kPatternClass, GetModuleHandleA(nullptr));
}

// The class brush paints the window: the default handler erases with it.
CSolidWindow::CSolidWindow(const RECT& place, COLORREF colour) : m_hBrush(CreateSolidBrush(colour))
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hbrBackground = m_hBrush;
    windowClass.lpszClassName = kSolidClass;
    m_hWnd = ShowTopmostPopup(windowClass, place, POINT{place.right - 1, place.bottom - 1}, colour);
}

CSolidWindow::~CSolidWindow()
{
    DestroyWindow(m_hWnd);
    UnregisterClassA(kSolidClass, GetModuleHandleA(nullptr));
    DeleteObject(m_hBrush);
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
    for (int attempt = 0; attempt < 50 && cursor.hCursor != shape; ++attempt) {
        PumpFor(20);
        cursor.cbSize = sizeof(cursor);
        GetCursorInfo(&cursor);
    }
    return cursor.hCursor == shape && (cursor.flags & CURSOR_SHOWING);
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
