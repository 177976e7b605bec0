#include "FlipbookWindow.h"

#include <algorithm>

#include "MessagePump.h"
#include "PixelReader.h"

namespace {
const char kClassName[] = "TestFlipbookWindow";
const DWORD kColours[] = {0xE03020, 0x20A040, 0x3050D0, 0xD0C020, 0x9020B0, 0x20C0C0};
constexpr int kSquare = 16;

std::vector<DWORD> MakePicture(int k, int width, int height)
{
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height, kColours[(k / 3) % 6]);
    const int left = (k * 23) % std::max(1, width - kSquare);
    const int top = (k * 11) % std::max(1, height - kSquare);
    for (int y = top; y < std::min(height, top + kSquare); ++y)
        std::fill_n(pixels.begin() + static_cast<size_t>(y) * width + left, std::min(kSquare, width - left), 0u);
    return pixels;
}
}  // namespace

CFlipbookWindow::CFlipbookWindow(const RECT& place, int pictures) : m_place(place)
{
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    for (int k = 0; k < pictures; ++k)
        m_pictures.push_back(MakePicture(k, width, height));
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // once for the program: later calls fail harmlessly
    m_hWnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP | WS_VISIBLE, place.left,
                             place.top, width, height, nullptr, nullptr, windowClass.hInstance, this);
    UpdateWindow(m_hWnd);
    m_bShown = PumpUntil([&] { return Find(ScreenPixels(m_place)) == 0; }, 10000);
}

CFlipbookWindow::~CFlipbookWindow()
{
    DestroyWindow(m_hWnd);
}

void CFlipbookWindow::Start(UINT intervalMs)
{
    m_shownAt.assign(1, GetTickCount());
    SetTimer(m_hWnd, 1, intervalMs, nullptr);
}

int CFlipbookWindow::Find(const std::vector<DWORD>& pixels) const
{
    const auto found = std::find(m_pictures.begin(), m_pictures.end(), pixels);
    return found == m_pictures.end() ? -1 : static_cast<int>(found - m_pictures.begin());
}

void CFlipbookWindow::ShowNext()
{
    if (Finished()) {
        KillTimer(m_hWnd, 1);
        return;
    }
    m_nCurrent = static_cast<int>(m_shownAt.size());
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    GdiFlush();
    m_shownAt.push_back(GetTickCount());
}

LRESULT CALLBACK CFlipbookWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<CFlipbookWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message == WM_TIMER) {
        self->ShowNext();
        return 0;
    }
    if (!self || message != WM_PAINT)
        return message == WM_ERASEBKGND && self ? TRUE : DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    const int width = self->m_place.right - self->m_place.left;
    const int height = self->m_place.bottom - self->m_place.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, self->m_pictures[self->m_nCurrent].data(), &info,
                      DIB_RGB_COLORS);
    EndPaint(window, &paint);
    return 0;
}
