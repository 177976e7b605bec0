#include "gui/PrintScreenResponder.h"

#include "gui/SnapcoreScreenKit.h"

void PutBitmapOnClipboard(HWND owner, SIZE size, COLORREF colour)
{
    const HDC screen = GetDC(nullptr);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
    const HDC dc = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, size.cx, size.cy};
    SetDCBrushColor(dc, colour);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        SetClipboardData(CF_BITMAP, bitmap); // the clipboard owns it from here
        CloseClipboard();
    } else {
        DeleteObject(bitmap);
    }
}

CPrintScreenResponder::CPrintScreenResponder(SIZE size, COLORREF colour) : m_size(size), m_colour(colour)
{
    const HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = std::thread([this, ready] { Run(ready); });
    WaitForSingleObject(ready, 5000);
    CloseHandle(ready);
}

CPrintScreenResponder::~CPrintScreenResponder()
{
    PostThreadMessageA(m_dwThreadId, WM_QUIT, 0, 0);
    m_thread.join();
}

LRESULT CALLBACK CPrintScreenResponder::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYUP && wParam == VK_SNAPSHOT) {
        auto* self = reinterpret_cast<CPrintScreenResponder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        PutBitmapOnClipboard(window, self->m_size, self->m_colour);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void CPrintScreenResponder::Run(HANDLE ready)
{
    m_dwThreadId = GetCurrentThreadId();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SnapcorePrintScreenResponder";
    RegisterClassA(&windowClass);
    // Small and away from the pattern, so it never covers it.
    const HWND window = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE,
                                        600, 600, 20, 20, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetForegroundWindow(window);
    SetFocus(window);
    PumpUntil([window] { return GetForegroundWindow() == window && GetFocus() == window; });
    SetEvent(ready);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    DestroyWindow(window);
}
