#include "capture/longshot/SelectionMouseWatch.h"

#include <cstdlib>

CSelectionMouseWatch* CSelectionMouseWatch::s_active = nullptr;

CSelectionMouseWatch::~CSelectionMouseWatch()
{
    if (s_active == this)
        s_active = nullptr;
}

bool CSelectionMouseWatch::Start(const RECT& selection, HWND notify)
{
    m_selection = selection;
    m_hNotify = notify;
    m_hook.reset(SetWindowsHookExA(WH_MOUSE_LL, OnMouse, GetModuleHandleA(nullptr), 0));
    if (m_hook)
        s_active = this;
    return m_hook != nullptr;
}

LRESULT CALLBACK CSelectionMouseWatch::OnMouse(int code, WPARAM message, LPARAM lParam)
{
    if (code == HC_ACTION && s_active && s_active->Watch(message, *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)))
        return 1;
    return CallNextHookEx(nullptr, code, message, lParam);
}

bool CSelectionMouseWatch::Watch(WPARAM message, const MSLLHOOKSTRUCT& input)
{
    if (!PtInRect(&m_selection, input.pt))
        return false;
    switch (message) {
    case WM_MOUSEWHEEL:
        PostMessageA(m_hNotify, kWheelTurned, 0, 0);
        return false;
    case WM_LBUTTONDOWN: {
        const bool sameSpot = std::abs(input.pt.x - m_ptLastClick.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                          std::abs(input.pt.y - m_ptLastClick.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        if (m_bClicked && sameSpot && input.time - m_dwLastClick <= GetDoubleClickTime()) {
            m_bClicked = false;
            PostMessageA(m_hNotify, kDoubleClicked, 0, 0);
        } else {
            m_bClicked = true;
            m_dwLastClick = input.time;
            m_ptLastClick = input.pt;
        }
        return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return true;
    }
    return false;
}
