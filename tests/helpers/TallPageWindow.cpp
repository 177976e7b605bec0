// A page taller than the screen for the long screenshot tests: a fixed header band, a
// view scrolled over the known tall picture and a fixed footer band, all painted from
// the picture's generator pixel for pixel.
//   tall_page.exe [--scrollbar | --wheel-only] [--rows N] [--size WIDTH VIEW_HEIGHT] [--at X Y]
// WIDTH is the picture's width and VIEW_HEIGHT the height of the view showing it; the
// window's client area, placed at X, Y, is the header, the view and the footer, and in
// --scrollbar mode also the view's scroll bar at the right. Steps of a line (17 pixels)
// and of a wheel notch (53 pixels) do not divide the view's default height.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "TallPicture.h"

using namespace TallPicture;

namespace {
constexpr int kLinePixels = 17;
constexpr int kNotchPixels = 53;

struct Page {
    bool scrollBar = true;
    int rows = 6000;
    int width = 360;
    int viewHeight = 600;
    int left = 40, top = 60;
    std::vector<uint32_t> picture;  // width x rows, top-down
    HWND view = nullptr;
    int firstShown = 0;  // the picture's row at the top of the view
    int wheelRest = 0;   // what is left of a notch
} g_page;

void ReadArguments()
{
    for (int i = 1; i < __argc; ++i) {
        const char* name = __argv[i];
        const bool two = i + 2 < __argc;
        if (std::strcmp(name, "--scrollbar") == 0)
            g_page.scrollBar = true;
        else if (std::strcmp(name, "--wheel-only") == 0)
            g_page.scrollBar = false;
        else if (std::strcmp(name, "--rows") == 0 && i + 1 < __argc)
            g_page.rows = std::atoi(__argv[++i]);
        else if (std::strcmp(name, "--size") == 0 && two)
            g_page.width = std::atoi(__argv[i + 1]), g_page.viewHeight = std::atoi(__argv[i + 2]), i += 2;
        else if (std::strcmp(name, "--at") == 0 && two)
            g_page.left = std::atoi(__argv[i + 1]), g_page.top = std::atoi(__argv[i + 2]), i += 2;
    }
}

// Draws width x height top-down pixels at x, y exactly as they are.
void PutPixels(HDC dc, int x, int y, int width, int height, const uint32_t* pixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    SetDIBitsToDevice(dc, x, y, width, height, 0, 0, 0, height, pixels, &info, DIB_RGB_COLORS);
}

void ScrollTo(int row)
{
    const int last = g_page.rows > g_page.viewHeight ? g_page.rows - g_page.viewHeight : 0;
    row = row < 0 ? 0 : row > last ? last : row;
    if (row == g_page.firstShown)
        return;
    g_page.firstShown = row;
    if (g_page.scrollBar) {
        SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, row, 0};
        SetScrollInfo(g_page.view, SB_VERT, &info, TRUE);
    }
    InvalidateRect(g_page.view, nullptr, FALSE);
}

void OnScrollBar(int code)
{
    const int page = g_page.viewHeight - kLinePixels;  // a line of the last page stays in view
    switch (code) {
    case SB_LINEUP: ScrollTo(g_page.firstShown - kLinePixels); break;
    case SB_LINEDOWN: ScrollTo(g_page.firstShown + kLinePixels); break;
    case SB_PAGEUP: ScrollTo(g_page.firstShown - page); break;
    case SB_PAGEDOWN: ScrollTo(g_page.firstShown + page); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(g_page.rows); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(g_page.view, SB_VERT, &info);
        ScrollTo(info.nTrackPos);
        break;
    }
    default: break;
    }
}

void OnWheel(int delta)
{
    g_page.wheelRest += delta;
    const int notches = g_page.wheelRest / WHEEL_DELTA;
    g_page.wheelRest -= notches * WHEEL_DELTA;
    ScrollTo(g_page.firstShown - notches * kNotchPixels);
}

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        const size_t first = static_cast<size_t>(g_page.firstShown) * g_page.width;
        const int shown = g_page.rows < g_page.viewHeight ? g_page.rows : g_page.viewHeight;
        PutPixels(dc, 0, 0, g_page.width, shown, g_page.picture.data() + first);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_VSCROLL: OnScrollBar(LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: OnWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_LBUTTONDOWN: SetFocus(window); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Paints a band of the given height, its pixels from pixel(x, y), at the top of y0.
void PaintBand(HDC dc, int y0, int width, int height, uint32_t (*pixel)(int, int))
{
    std::vector<uint32_t> band;
    band.reserve(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            band.push_back(pixel(x, y));
    PutPixels(dc, 0, y0, width, height, band.data());
}

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        PaintBand(dc, 0, client.right, kHeaderRows, HeaderPixel);
        PaintBand(dc, kHeaderRows + g_page.viewHeight, client.right, kFooterRows, FooterPixel);
        EndPaint(window, &paint);
        return 0;
    }
    // The wheel reaches the window with the keyboard; the page turns it over to its view.
    case WM_MOUSEWHEEL: return SendMessageA(g_page.view, message, wParam, lParam);
    case WM_SETFOCUS: SetFocus(g_page.view); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void Register(const char* className, WNDPROC procedure)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    ReadArguments();
    g_page.picture = PageRows(0, g_page.width, 0, g_page.rows);
    Register("TallPageWindow", PageProc);
    Register("TallPageView", ViewProc);
    const int barWidth = g_page.scrollBar ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    const int width = g_page.width + barWidth, height = kHeaderRows + g_page.viewHeight + kFooterRows;
    // Topmost, as a page the user brought to the front over the program that captures it.
    HWND page = CreateWindowExA(WS_EX_TOPMOST, "TallPageWindow", "tall-page", WS_POPUP | WS_CLIPCHILDREN, g_page.left, g_page.top,
                                width, height, nullptr, nullptr, instance, nullptr);
    g_page.view = CreateWindowExA(0, "TallPageView", nullptr, WS_CHILD | WS_VISIBLE | (g_page.scrollBar ? WS_VSCROLL : 0),
                                  0, kHeaderRows, width, g_page.viewHeight, page, nullptr, instance, nullptr);
    if (!page || !g_page.view)
        return 1;
    if (g_page.scrollBar) {
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, g_page.rows - 1,
                        static_cast<UINT>(g_page.viewHeight), 0, 0};
        SetScrollInfo(g_page.view, SB_VERT, &info, FALSE);
    }
    ShowWindow(page, SW_SHOW);
    SetForegroundWindow(page);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
