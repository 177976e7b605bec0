#include "capture/CountdownWindow.h"

#include <cstdio>

#include "scoped/ScopedHandles.h"
#include "ui/DpiScale.h"

namespace {
const char kClassName[] = "LumigrabCountdown";
const UINT_PTR kSecondTimer = 1;
const int kSize = 120;    // pixels at 96 DPI, square
const int kMargin = 24;   // from the work area's corner, at 96 DPI
const COLORREF kBackground = RGB(32, 32, 32);
const COLORREF kDigits = RGB(255, 255, 255);

void RegisterCountdownClass()
{
    WNDCLASSEXA existing{};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kClassName, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_HAND);
    wc.lpszClassName = kClassName;
    CWindow::RegisterClass(wc);
}
}  // namespace

CCountdownWindow::~CCountdownWindow()
{
    DestroyWindow();
}

bool CCountdownWindow::Start(int seconds)
{
    Close();
    RegisterCountdownClass();
    RECT workArea{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const CDpiScale dpi = CDpiScale::OfWindow(nullptr);
    const int size = dpi.Scale(kSize), margin = dpi.Scale(kMargin);
    if (!Create(kClassName, "", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                workArea.right - margin - size, workArea.bottom - margin - size, size, size, nullptr, nullptr))
        return false;
    m_nSecondsLeft = seconds;
    SetTimer(Handle(), kSecondTimer, 1000, nullptr);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(Handle());
    return true;
}

void CCountdownWindow::Close()
{
    if (!Handle())
        return;
    RECT covered{};
    GetWindowRect(Handle(), &covered);
    KillTimer(Handle(), kSecondTimer);
    ShowWindow(Handle(), SW_HIDE);
    DestroyWindow();
    // What lay under the window paints again, this program's windows at once.
    RedrawWindow(nullptr, &covered, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    // Reading a pixel of the screen waits for the display to have done everything asked
    // of it before, the removal of the window included.
    CScreenDC screen;
    GetPixel(screen, covered.left, covered.top);
}

LRESULT CCountdownWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
        m_events.clicked();
        return 0;
    case WM_TIMER:
        if (wParam == kSecondTimer)
            OnTimer();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint();
        return 0;
    }
    return DefaultProc(msg, wParam, lParam);
}

void CCountdownWindow::OnTimer()
{
    if (--m_nSecondsLeft > 0) {
        InvalidateRect(Handle(), nullptr, FALSE);
        m_events.tick(m_nSecondsLeft);
        return;
    }
    Close();
    m_events.zero();
}

void CCountdownWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    RECT client;
    GetClientRect(Handle(), &client);
    CBrushOwner background(CreateSolidBrush(kBackground));
    FillRect(dc, &client, background.get());
    CFontOwner font(CreateFontA(-client.bottom * 2 / 3, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
    CSelectObject selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kDigits);
    char digits[8];
    std::snprintf(digits, sizeof digits, "%d", m_nSecondsLeft);
    DrawTextA(dc, digits, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(Handle(), &paint);
}
