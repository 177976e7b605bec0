// The floor of a capture: on its hotkey (Ctrl+F7) one BitBlt of the screen, then the
// window shows the picture at its client's top left.
#include <windows.h>

#include "scoped/ScopedHandles.h"

namespace {
CBitmapOwner g_picture;

void TakeScreen(HWND hWnd)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    {
        const CScreenDC screen;
        const CMemoryDC memory(screen);
        g_picture.reset(CreateCompatibleBitmap(screen, width, height));
        const CSelectObject select(memory, g_picture.get());
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    }
    ShowWindow(hWnd, SW_SHOW);
    SetForegroundWindow(hWnd);
    InvalidateRect(hWnd, nullptr, FALSE);
    UpdateWindow(hWnd);
}

void Paint(HWND hWnd)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hWnd, &paint);
    if (g_picture) {
        const CMemoryDC memory(dc);
        const CSelectObject select(memory, g_picture.get());
        RECT client;
        GetClientRect(hWnd, &client);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    }
    EndPaint(hWnd, &paint);
}

LRESULT CALLBACK FloorProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_HOTKEY:
        TakeScreen(hWnd);
        return 0;
    case WM_PAINT:
        Paint(hWnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "CaptureFloor";
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowExA(0, wc.lpszClassName, "Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!RegisterHotKey(hWnd, 1, MOD_CONTROL, VK_F7))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    g_picture.reset();
    return 0;
}
