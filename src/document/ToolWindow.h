#pragma once
#include <windows.h>

#include "scoped/ScopedHandles.h"
#include "ui/DpiScale.h"
#include "ui/Window.h"

// An owned, resizable window of the program's own beside the main frame: its controls in the
// system's message font at its monitor's DPI, following that DPI when it changes, a least
// size, the focus kept over a deactivation, and the object freed with the window.
class CToolWindow : public CWindow {
protected:
    static constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    static constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

    // Registers className once (background null when the window paints all of itself) and
    // makes the window at `at`, owned by owner.
    bool CreateToolWindow(const char* className, HBRUSH background, const char* title, const RECT& at, HWND owner);
    // Once the controls are made: their font and layout at m_dpi; from then on the window
    // deletes this object when it goes.
    void FinishCreate();
    void ApplyDpi(int dpi);
    // Lays the controls out after m_dpi changed.
    virtual void OnDpiApplied() = 0;
    // The window's least size at 96 DPI.
    virtual SIZE LeastSize() const = 0;

    // The least size, a DPI change and the focus; everything else goes to DefaultProc.
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage() override
    {
        if (m_bFreesItself)
            delete this;
    }

    CDpiScale m_dpi;
    HWND m_hLastFocus = nullptr;  // given the focus when the window is active again

private:
    void OnActivate(bool active);

    CFontOwner m_font;
    bool m_bFreesItself = false;
};
