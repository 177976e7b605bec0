#include "ui/HyperLink.h"

#include "scoped/ScopedHandles.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

namespace {

// The browser's link colours, stored by the user's settings as "R,G,B" texts.
COLORREF ReadLinkColor(const char* valueName, COLORREF crDefault)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Settings", 0, KEY_QUERY_VALUE,
                      &hKey) != ERROR_SUCCESS)
        return crDefault;
    char szValue[32] = {};
    DWORD dwType = 0;
    DWORD dwSize = sizeof szValue - 1;  // room for a terminator the registry may not have stored
    LONG lResult = RegQueryValueExA(hKey, valueName, nullptr, &dwType, reinterpret_cast<BYTE*>(szValue), &dwSize);
    RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS || dwType != REG_SZ)
        return crDefault;

    int red = -1, green = -1, blue = -1;
    char extra = 0;
    if (std::sscanf(szValue, "%d,%d,%d%c", &red, &green, &blue, &extra) != 3)
        return crDefault;
    auto isByte = [](int value) { return value >= 0 && value <= 255; };
    if (!isByte(red) || !isByte(green) || !isByte(blue))
        return crDefault;
    return RGB(red, green, blue);
}


}  // namespace

bool CHyperLink::SubclassStatic(HWND hStatic, const char* target)
{
    if (!Subclass(hStatic))
        return false;
    std::snprintf(m_szTarget, sizeof m_szTarget, "%s", target);
    m_crLink = ReadLinkColor("Anchor Color", kDefaultLinkColor);
    m_crVisited = ReadLinkColor("Anchor Color Visited", kDefaultVisitedColor);
    CreateUnderlinedFont();
    CreateToolTip();
    InvalidateRect(hStatic, nullptr, TRUE);
    return true;
}

void CHyperLink::Activate()
{
    ShellExecuteA(GetAncestor(Handle(), GA_ROOT), "open", m_szTarget, nullptr, nullptr, SW_SHOWNORMAL);
    m_bVisited = true;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void CHyperLink::CreateUnderlinedFont()
{
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
    if (!hFont)
        hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA logFont = {};
    GetObjectA(hFont, sizeof logFont, &logFont);
    logFont.lfUnderline = TRUE;
    m_font.reset(CreateFontIndirectA(&logFont));
}

void CHyperLink::CreateToolTip()
{
    m_toolTip.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                    GetModuleHandleA(nullptr), nullptr));
    if (!m_toolTip)
        return;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = GetParent(Handle());
    tool.uId = reinterpret_cast<UINT_PTR>(Handle());
    tool.lpszText = m_szTarget;
    SendMessageA(m_toolTip.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT CHyperLink::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        if (m_toolTip) {
            MSG relayed = {Handle(), msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
            SendMessageA(m_toolTip.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
        }
        if (msg == WM_LBUTTONDOWN) {
            SetFocus(Handle());
            SetCapture(Handle());
            return 0;
        }
        return msg == WM_LBUTTONUP ? OnLButtonUp(lParam) : 0;
    case WM_NCHITTEST:
        return HTCLIENT;  // a plain static lets the mouse through to the dialog
    case WM_SETCURSOR:
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
    case WM_GETDLGCODE:
        return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
        return OnKeyDown(wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
        InvalidateRect(Handle(), nullptr, TRUE);
        break;
    case WM_ERASEBKGND:
        return 1;  // the background is drawn with the text
    case WM_PAINT:
        return OnPaint();
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DESTROY:
        // Usually gone already: the dialog that owns it destroys it first.
        m_toolTip.reset();
        break;
    }
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CHyperLink::OnGetDlgCode(const MSG* pMsg)
{
    // Enter on the link opens it instead of pressing the dialog's default button.
    if (pMsg && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN)
        return DLGC_WANTMESSAGE;
    return 0;
}

LRESULT CHyperLink::OnKeyDown(WPARAM vk, LPARAM flags)
{
    const bool bRepeat = (flags & 0x40000000) != 0;
    if ((vk == VK_SPACE || vk == VK_RETURN) && !bRepeat)
        Activate();
    return 0;
}

LRESULT CHyperLink::OnLButtonUp(LPARAM point)
{
    if (GetCapture() != Handle())
        return 0;
    ReleaseCapture();
    RECT rcClient;
    GetClientRect(Handle(), &rcClient);
    POINT pt = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    if (PtInRect(&rcClient, pt))
        Activate();
    return 0;
}

LRESULT CHyperLink::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(Handle(), &ps);
    Paint(hDC);
    EndPaint(Handle(), &ps);
    return 0;
}

void CHyperLink::Paint(HDC hDC)
{
    RECT rcClient;
    GetClientRect(Handle(), &rcClient);
    // The dialog chooses the background of its statics, and sets up the DC for them.
    HBRUSH hBackground = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(Handle()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                     reinterpret_cast<LPARAM>(Handle())));
    FillRect(hDC, &rcClient, hBackground ? hBackground : GetSysColorBrush(COLOR_BTNFACE));

    char szText[256] = {};
    GetWindowTextA(Handle(), szText, sizeof szText);
    CSelectObject font(hDC, m_font.get());
    SetTextColor(hDC, TextColor());
    SetBkMode(hDC, TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP;
    RECT rcText = rcClient;
    DrawTextA(hDC, szText, -1, &rcText, format | DT_CALCRECT);
    IntersectRect(&rcText, &rcText, &rcClient);
    DrawTextA(hDC, szText, -1, &rcText, format);

    const bool bHideFocus = (SendMessageA(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
    if (GetFocus() == Handle() && !bHideFocus)
        DrawFocusRect(hDC, &rcText);
}
