#include "PictureWindow.h"

#include "MessagePump.h"
#include "PixelReader.h"

namespace {
const char kClassName[] = "TestPictureWindow";

COLORREF AsColour(DWORD pixel)
{
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
}  // namespace

CPictureWindow::CPictureWindow(POINT origin, int width, int height, const std::vector<DWORD>& pixels)
    : m_origin(origin), m_width(width), m_height(height), m_pixels(pixels)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // once for the program: later calls fail harmlessly
    m_hWnd = CreateWindowExA(WS_EX_TOPMOST, kClassName, "", WS_POPUP | WS_VISIBLE, origin.x, origin.y, width, height,
                             nullptr, nullptr, windowClass.hInstance, this);
    SetForegroundWindow(m_hWnd);
    UpdateWindow(m_hWnd);
    // The corners: the screen does not show the window all at once.
    m_bShown = PumpUntil([&] {
        const CPixelReader screen;
        for (POINT p : {POINT{0, 0}, POINT{width - 1, 0}, POINT{0, height - 1}, POINT{width - 1, height - 1}})
            if (screen.At(ScreenPoint(p.x, p.y)) != AsColour(m_pixels[static_cast<size_t>(p.y) * width + p.x]))
                return false;
        return true;
    });
}

CPictureWindow::~CPictureWindow()
{
    DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CPictureWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    const auto* self = reinterpret_cast<const CPictureWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || message != WM_PAINT)
        return message == WM_ERASEBKGND && self ? TRUE : DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = self->m_width;
    info.bmiHeader.biHeight = -self->m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    SetDIBitsToDevice(dc, 0, 0, self->m_width, self->m_height, 0, 0, 0, self->m_height, self->m_pixels.data(), &info,
                      DIB_RGB_COLORS);
    EndPaint(window, &paint);
    return 0;
}
