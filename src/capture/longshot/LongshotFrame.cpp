#include "capture/longshot/LongshotFrame.h"

#include "res/resource.h"
#include "scoped/ScopedHandles.h"
#include "ui/DpiScale.h"
#include "ui/ModifierKeys.h"

namespace {
const char kFrameClass[] = "LumigrabLongshotFrame";
constexpr UINT_PTR kTickTimer = 1;
const COLORREF kBorderColour = RGB(0x1E, 0x90, 0xFF);

void RegisterFrameClass()
{
    WNDCLASSEXA existing{};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kFrameClass, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kFrameClass;
    CWindow::RegisterClass(wc);
}
}  // namespace

CLongshotFrame::CLongshotFrame(std::function<void(UINT command)> command, std::function<void()> tick)
    : m_command(std::move(command)), m_tick(std::move(tick))
{
}

bool CLongshotFrame::Create(const RECT& selection)
{
    RegisterFrameClass();
    m_selection = selection;
    m_border = CDpiScale::OfMonitor(MonitorFromRect(&selection, MONITOR_DEFAULTTONEAREST)).Scale(3);
    const RECT outer{selection.left - m_border, selection.top - m_border, selection.right + m_border,
                     selection.bottom + m_border};
    if (!CWindow::Create(kFrameClass, "", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, outer.left, outer.top,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr))
        return false;
    // Only the ring is the window's: the selection stays the window's beneath, for the eye
    // and for the pointer.
    CRegionOwner ring(CreateRectRgn(0, 0, outer.right - outer.left, outer.bottom - outer.top));
    const CRegionOwner hole(CreateRectRgn(m_border, m_border, m_border + selection.right - selection.left,
                                          m_border + selection.bottom - selection.top));
    CombineRgn(ring.get(), ring.get(), hole.get(), RGN_DIFF);
    if (SetWindowRgn(Handle(), ring.get(), FALSE))
        ring.release();  // the system's now
    m_keyboard.Prepare(Handle());
    return true;
}

void CLongshotFrame::Show(UINT intervalMs)
{
    m_keyboard.Show(Handle());
    TakeKeyboard();
    SetTimer(Handle(), kTickTimer, intervalMs, nullptr);
}

void CLongshotFrame::TakeKeyboard()
{
    SetForegroundWindow(Handle());
    SetFocus(Handle());
    ForgetModifiersLetGoElsewhere();
}

LRESULT CLongshotFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        if (wParam == kTickTimer)
            m_tick();
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN)
            m_command(ID_LONGSHOT_DONE);
        else if (wParam == VK_ESCAPE)
            m_command(ID_LONGSHOT_CANCEL);
        return 0;
    case WM_COMMAND:
        m_command(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        PassWheelOn(msg, wParam, lParam);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_DESTROY:
        KillTimer(Handle(), kTickTimer);
        m_keyboard.Stop();
        break;
    }
    return DefaultProc(msg, wParam, lParam);
}

void CLongshotFrame::OnPaint()
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(Handle(), &paint);
    const CBrushOwner brush(CreateSolidBrush(kBorderColour));
    FillRect(dc, &paint.rcPaint, brush.get());
    EndPaint(Handle(), &paint);
}

void CLongshotFrame::PassWheelOn(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (!PtInRect(&m_selection, point))
        return;
    const HWND beneath = WindowFromPoint(point);
    if (beneath && beneath != Handle())
        PostMessageA(beneath, msg, wParam, lParam);
}
