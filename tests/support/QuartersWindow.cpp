#include "QuartersWindow.h"

#include "MessagePump.h"
#include "PixelReader.h"

namespace {
const char kClassName[] = "TestQuartersWindow";
}

RECT Quadrant(const RECT& r, int index)
{
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    const bool right = index & 1, bottom = index & 2;
    return RECT{right ? midX : r.left, bottom ? midY : r.top, right ? r.right : midX, bottom ? r.bottom : midY};
}

CQuartersWindow::CQuartersWindow(const RECT& place, const COLORREF (&colours)[4], HCURSOR cursor)
    : m_colours{colours[0], colours[1], colours[2], colours[3]}, m_hCursor(cursor)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // once for the program: later calls fail harmlessly
    m_hWnd = CreateWindowExA(WS_EX_TOPMOST, kClassName, "", WS_POPUP | WS_VISIBLE, place.left, place.top,
                             place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                             windowClass.hInstance, this);
    SetForegroundWindow(m_hWnd);
    UpdateWindow(m_hWnd);
    // The corners and the middle of every quarter: the screen does not show the
    // window all at once.
    m_bShown = PumpUntil([&] {
        const CPixelReader screen;
        for (int i = 0; i < 4; ++i) {
            const RECT q = Quadrant(place, i);
            for (POINT p : {POINT{q.left, q.top}, POINT{q.right - 1, q.top}, POINT{q.left, q.bottom - 1},
                            POINT{q.right - 1, q.bottom - 1}, POINT{(q.left + q.right) / 2, (q.top + q.bottom) / 2}})
                if (screen.At(p) != m_colours[i])
                    return false;
        }
        return true;
    });
}

CQuartersWindow::~CQuartersWindow()
{
    DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CQuartersWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    const auto* self = reinterpret_cast<const CQuartersWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(self->m_hCursor);
        return TRUE;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        for (int i = 0; i < 4; ++i) {
            const RECT quarter = Quadrant(client, i);
            SetDCBrushColor(dc, self->m_colours[i]);
            FillRect(dc, &quarter, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        }
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
