#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "TimedSteps.h"
#include "ui/MenuBar.h"
#include "ui/Window.h"

// A top-level window with a menu bar taking over menu 128 along its top edge,
// the bar's command target. It records what the bar sends it and, with an MDI
// client, acts as an MDI frame.
class CMenuBarTestHost : public CWindow {
public:
    CMenuBarTestHost();
    ~CMenuBarTestHost() override;

    CMenuBar& Bar() { return m_bar; }
    HWND CreateMdiClient();
    HWND CreateMdiChild(const char* title);

    std::vector<UINT> m_commands;      // WM_COMMAND ids in arrival order
    std::vector<HMENU> m_openedPopups; // WM_INITMENUPOPUP menus in arrival order
    std::vector<UINT> m_selectedItems; // WM_MENUSELECT item ids
    std::function<void(HMENU)> m_onInitMenuPopup;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();

    CMenuBar m_bar;
    HWND m_hMdiClient = nullptr;
};

// The toolbar images of the program, paired with their commands as the frame pairs them.
class CToolbarImages {
public:
    CToolbarImages();
    ~CToolbarImages();
    CToolbarImages(const CToolbarImages&) = delete;
    CToolbarImages& operator=(const CToolbarImages&) = delete;

    HIMAGELIST m_hNormal;
    HIMAGELIST m_hDisabled;
    static const UINT kCommands[13];
};

// The open popup menu window, or null.
HWND FindPopupMenuWindow();

// Posts a key press to the open popup menu.
void PostMenuKey(WPARAM key);
