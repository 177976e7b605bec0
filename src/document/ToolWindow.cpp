#include "document/ToolWindow.h"

#include <utility>

#include "document/MessageFont.h"
#include "res/resource.h"

bool CToolWindow::CreateToolWindow(const char* className, HBRUSH background, const char* title, const RECT& at,
                                   HWND owner)
{
    WNDCLASSEXA existing{};
    if (!GetClassInfoExA(GetModuleHandleA(nullptr), className, &existing)) {
        WNDCLASSEXA wc{};
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hIcon = LoadIcon(GetModuleHandleA(nullptr), MAKEINTRESOURCE(IDR_MAINFRAME));
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        CWindow::RegisterClass(wc);
    }
    return CWindow::Create(className, title, kStyle, kExStyle, at.left, at.top, at.right - at.left,
                           at.bottom - at.top, owner, nullptr) != nullptr;
}

void CToolWindow::FinishCreate()
{
    m_bFreesItself = true;
    ApplyDpi(m_dpi.Dpi());
}

void CToolWindow::ApplyDpi(int dpi)
{
    m_dpi = CDpiScale(dpi);
    CFontOwner previous = std::move(m_font);
    m_font = MessageFont(m_dpi);
    for (HWND control = GetWindow(Handle(), GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
    OnDpiApplied();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void CToolWindow::OnActivate(bool active)
{
    if (!active) {
        const HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus))
            m_hLastFocus = focus;
    } else if (m_hLastFocus) {
        SetFocus(m_hLastFocus);
    }
}

LRESULT CToolWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_GETMINMAXINFO: {
        const SIZE least = LeastSize();
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{m_dpi.Scale(least.cx), m_dpi.Scale(least.cy)};
        return 0;
    }
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        ApplyDpi(HIWORD(wParam));
        return 0;
    }
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    default:
        return DefaultProc(msg, wParam, lParam);
    }
}
