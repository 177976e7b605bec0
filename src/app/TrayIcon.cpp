#include "app/TrayIcon.h"

#include <shellapi.h>

#include "app/AppMessages.h"
#include "app/Application.h"
#include "res/resource.h"
#include "ui/MenuBar.h"
#include "util/FastString.h"

// The icon is added in the record's oldest form, the one every shell understands.
#ifdef __i386__
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the notification-icon record is 88 bytes on 32-bit Windows");
#endif

namespace {
constexpr UINT kBalloonTimeout = 10000;  // the shell's longest; it keeps its own limits
}

CTrayIcon::~CTrayIcon()
{
    Remove();
}

bool CTrayIcon::Add(HWND frame)
{
    HMENU resource = LoadMenuA(g_app.Instance(), MAKEINTRESOURCEA(IDR_TRAYMENU));
    if (resource != m_hMenuResource.get())
        m_hMenuResource.reset(resource);
    m_hMenu = m_hMenuResource ? GetSubMenu(m_hMenuResource.get(), 0) : nullptr;
    if (m_hMenu)
        SetMenuDefaultItem(m_hMenu, 0, TRUE);
    m_hWndOwner = frame;
    return SendIcon(NIM_ADD);
}

UINT CTrayIcon::TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

// A taskbar that still has the icon refuses to add it twice, but takes it as a change.
bool CTrayIcon::AddAgain()
{
    return m_hWndOwner && (SendIcon(NIM_MODIFY) || SendIcon(NIM_ADD));
}

bool CTrayIcon::SendIcon(DWORD message)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = m_hWndOwner;
    data.uID = kId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_APP_TRAY_NOTIFY;
    data.hIcon = reinterpret_cast<HICON>(GetClassLongPtrA(m_hWndOwner, GCLP_HICONSM));
    Vorn::CFastString<64> name;
    name.LoadString(IDR_MAINFRAME);
    lstrcpynA(data.szTip, m_szTip[0] ? m_szTip : name.GetString(), 64);
    m_bAdded = Shell_NotifyIconA(message, &data) != FALSE;
    return m_bAdded;
}

void CTrayIcon::SetTip(const char* tip)
{
    lstrcpynA(m_szTip, tip ? tip : "", sizeof m_szTip);
    if (m_bAdded)
        SendIcon(NIM_MODIFY);
}

// Balloons came with the record's second form; an icon added in the first takes it.
bool CTrayIcon::ShowBalloon(const char* text)
{
    if (!m_bAdded)
        return false;
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = m_hWndOwner;
    data.uID = kId;
    data.uFlags = NIF_INFO;
    data.uTimeout = kBalloonTimeout;
    data.dwInfoFlags = NIIF_INFO;
    lstrcpynA(data.szInfo, text, sizeof(data.szInfo));
    Vorn::CFastString<64> title;
    title.LoadString(IDR_MAINFRAME);
    lstrcpynA(data.szInfoTitle, title.GetString(), sizeof(data.szInfoTitle));
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// Also after a refused add: the shell may still hold the icon from before.
void CTrayIcon::Remove()
{
    if (!m_hWndOwner)
        return;
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = m_hWndOwner;
    data.uID = kId;
    Shell_NotifyIconA(NIM_DELETE, &data);
    m_hWndOwner = nullptr;
    m_bAdded = false;
}

bool CTrayIcon::OnNotify(LPARAM mouseMessage, CMenuBar& menuBar)
{
    switch (mouseMessage) {
    case WM_RBUTTONUP: {
        POINT cursor{};
        GetCursorPos(&cursor);
        // Without the foreground the menu would not close when the user clicks elsewhere;
        // the posted WM_NULL lets it close properly the next time.
        SetForegroundWindow(m_hWndOwner);
        if (m_hMenu)
            menuBar.TrackPopup(m_hMenu, 0, cursor.x, cursor.y);
        PostMessageA(m_hWndOwner, WM_NULL, 0, 0);
        return true;
    }
    case WM_LBUTTONDBLCLK: {
        const UINT command = GetMenuDefaultItem(m_hMenu, FALSE, 0);
        if (command != static_cast<UINT>(-1))
            SendMessageA(m_hWndOwner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        return true;
    }
    }
    return false;
}
