#pragma once
#include "ui/Window.h"

// The program's one top-level window.
class CAppFrame : public CWindow {
public:
    ~CAppFrame() override;

    // Creates the window with its menu, title and icons and loads its accelerators.
    HWND CreateFrame();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy();

    HACCEL m_hAccel = nullptr;
};
