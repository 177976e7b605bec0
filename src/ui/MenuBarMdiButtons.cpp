#include "ui/MenuBarMdiButtons.h"

#include <algorithm>

namespace {
const int kIconMargin = 3;
const int kButtonGap = 2;  // before the close button and at the right edge

HICON SmallIconOf(HWND window)
{
    auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
    if (!icon)
        icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
    return icon ? icon : LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}
}

bool CMenuBarMdiButtons::Sync()
{
    BOOL maximized = FALSE;
    HWND active = m_hMdiClient && IsWindow(m_hMdiClient)
                      ? reinterpret_cast<HWND>(SendMessageA(m_hMdiClient, WM_MDIGETACTIVE, 0,
                                                            reinterpret_cast<LPARAM>(&maximized)))
                      : nullptr;
    HWND child = active && maximized ? active : nullptr;
    HICON icon = child ? SmallIconOf(child) : nullptr;
    if (child == m_hChild && icon == m_hIcon)
        return false;
    m_hChild = child;
    m_hIcon = icon;
    m_pushed = None;
    return true;
}

int CMenuBarMdiButtons::LeftWidth() const
{
    return m_hChild ? m_dpi.ScaleFromScreen(GetSystemMetrics(SM_CXSMICON)) + m_dpi.Scale(kIconMargin) : 0;
}

int CMenuBarMdiButtons::RightWidth() const
{
    return m_hChild ? 3 * ButtonSize().cx + 2 * m_dpi.Scale(kButtonGap) : 0;
}

SIZE CMenuBarMdiButtons::ButtonSize() const
{
    const int border = m_dpi.Scale(2);
    const int height = m_dpi.ScaleFromScreen(GetSystemMetrics(SM_CYMENUSIZE)) - border;
    return SIZE{height + border, height};
}

RECT CMenuBarMdiButtons::PartRect(Part part, const RECT& client) const
{
    RECT rect = {};
    if (!m_hChild || part == None)
        return rect;
    const int clientHeight = client.bottom - client.top;
    if (part == Icon) {
        const int size = m_dpi.ScaleFromScreen(GetSystemMetrics(SM_CXSMICON));
        rect.left = client.left + m_dpi.Scale(kIconMargin);
        rect.top = client.top + (clientHeight - size) / 2;
        rect.right = rect.left + size;
        rect.bottom = rect.top + size;
        return rect;
    }
    const SIZE size = ButtonSize();
    const int height = std::min<int>(size.cy, clientHeight);
    // From the right: close, a gap, restore, minimise.
    const int gap = m_dpi.Scale(kButtonGap);
    int right = client.right - gap;
    if (part != Close)
        right -= size.cx + gap;
    if (part == Minimize)
        right -= size.cx;
    rect.left = right - size.cx;
    rect.right = right;
    rect.top = client.top + (clientHeight - height) / 2;
    rect.bottom = rect.top + height;
    return rect;
}

CMenuBarMdiButtons::Part CMenuBarMdiButtons::HitTest(POINT point, const RECT& client) const
{
    for (Part part : {Icon, Minimize, Restore, Close}) {
        const RECT rect = PartRect(part, client);
        if (PtInRect(&rect, point))
            return part;
    }
    return None;
}

UINT CMenuBarMdiButtons::SystemCommand(Part part)
{
    switch (part) {
    case Minimize: return SC_MINIMIZE;
    case Restore: return SC_RESTORE;
    case Close: return SC_CLOSE;
    default: return 0;
    }
}

void CMenuBarMdiButtons::Paint(HDC dc, const RECT& client) const
{
    if (!m_hChild)
        return;
    const RECT iconRect = PartRect(Icon, client);
    DrawIconEx(dc, iconRect.left, iconRect.top, m_hIcon, iconRect.right - iconRect.left,
               iconRect.bottom - iconRect.top, 0, nullptr, DI_NORMAL);
    const struct { Part part; UINT look; } buttons[] = {
        {Minimize, DFCS_CAPTIONMIN}, {Restore, DFCS_CAPTIONRESTORE}, {Close, DFCS_CAPTIONCLOSE}};
    for (const auto& button : buttons) {
        RECT rect = PartRect(button.part, client);
        DrawFrameControl(dc, &rect, DFC_CAPTION, button.look | (m_pushed == button.part ? DFCS_PUSHED : 0));
    }
}
