#pragma once
#include <windows.h>

#include "scoped/ScopedHandles.h"

// Watches the pointer's input over the selection while a long screenshot is taken, at the
// system's level, whichever window it goes to: a wheel turned there is the user's scrolling
// (and still reaches the window beneath); clicks there are kept from that window, which must
// not change under the grabs, and a double-click ends the capture. One watch at a time.
class CSelectionMouseWatch {
public:
    // The messages posted to notify.
    static constexpr UINT kWheelTurned = WM_APP + 140;
    static constexpr UINT kDoubleClicked = WM_APP + 141;

    CSelectionMouseWatch() = default;
    ~CSelectionMouseWatch();
    CSelectionMouseWatch(const CSelectionMouseWatch&) = delete;
    CSelectionMouseWatch& operator=(const CSelectionMouseWatch&) = delete;

    // selection: screen coordinates. False when the system refuses the hook.
    bool Start(const RECT& selection, HWND notify);

private:
    static LRESULT CALLBACK OnMouse(int code, WPARAM message, LPARAM lParam);
    // True when the message is kept from the window beneath.
    bool Watch(WPARAM message, const MSLLHOOKSTRUCT& input);

    static CSelectionMouseWatch* s_active;
    CHookOwner m_hook;
    RECT m_selection{};
    HWND m_hNotify = nullptr;
    DWORD m_dwLastClick = 0;
    POINT m_ptLastClick{};
    bool m_bClicked = false;
};
