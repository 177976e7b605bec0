#include "PixelReader.h"

CPixelReader::CPixelReader(HWND window) : m_hWnd(window), m_hDC(nullptr)
{
    if (window)
        UpdateWindow(window);
    m_hDC = GetDC(window);
}

CPixelReader::CPixelReader(HBITMAP bitmap) : m_hDC(CreateCompatibleDC(nullptr)), m_bMemory(true)
{
    m_hPrevious = SelectObject(m_hDC, bitmap);
}

CPixelReader::~CPixelReader()
{
    if (m_bMemory) {
        if (m_hPrevious && m_hPrevious != HGDI_ERROR)
            SelectObject(m_hDC, m_hPrevious);
        DeleteDC(m_hDC);
    } else {
        ReleaseDC(m_hWnd, m_hDC);
    }
}

std::vector<DWORD> ScreenPixels(const RECT& place)
{
    const int width = place.right - place.left, height = place.bottom - place.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return {};
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, place.left, place.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    std::vector<DWORD> shown(pixels, pixels + static_cast<size_t>(width) * height);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return shown;
}

std::vector<DWORD> BitmapPixels(HBITMAP bitmap, SIZE& size)
{
    BITMAP shape{};
    if (!bitmap || !GetObjectA(bitmap, sizeof shape, &shape))
        return {};
    size = SIZE{shape.bmWidth, shape.bmHeight};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(static_cast<size_t>(size.cx) * size.cy);
    const HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != size.cy)
        return {};
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;  // what the unused byte holds is the bitmap's own business
    return pixels;
}

bool ScreenShowsThreadWindows()
{
    bool same = true;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            RECT place{};
            if (!IsWindowVisible(window) || !GetWindowRect(window, &place) || IsRectEmpty(&place))
                return TRUE;
            const POINT middle{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
            if (WindowFromPoint(middle) != window)
                return TRUE;
            POINT client = middle;
            ScreenToClient(window, &client);
            if (CPixelReader(window).At(client) == CPixelReader().At(middle))
                return TRUE;
            *reinterpret_cast<bool*>(result) = false;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&same));
    return same;
}
