#pragma once
#include <windows.h>

#include "scoped/ScopedHandles.h"

class CMenuBar;

// The program's icon in the notification area and its menu (menu resource 150). It
// keeps the hidden frame reachable: a right click opens the menu, a double click
// runs its default item (show the main window).
class CTrayIcon {
public:
    static constexpr UINT kId = 1;

    CTrayIcon() = default;
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Loads the menu and adds the icon for frame. False when the shell refused the
    // icon (no notification area); the menu is kept either way.
    bool Add(HWND frame);
    // The shell broadcasts this message when it has re-created the taskbar.
    static UINT TaskbarCreatedMessage();
    // Shows the icon again after the taskbar was re-created, whether the new taskbar
    // forgot it or still has it.
    bool AddAgain();
    void Remove();
    // The icon's tooltip; null for the program's name.
    void SetTip(const char* tip);

    bool IsAdded() const { return m_bAdded; }
    // A balloon message by the icon, under the program's name; false when there is no
    // icon to show it by.
    bool ShowBalloon(const char* text);
    HMENU Menu() const { return m_hMenu; }

    // For the icon's callback message; false when the mouse message is not one the
    // icon acts on, so that default processing follows.
    bool OnNotify(LPARAM mouseMessage, CMenuBar& menuBar);

private:
    // Adds or changes the icon with its picture, tip and callback message.
    bool SendIcon(DWORD message);

    HWND m_hWndOwner = nullptr;
    CMenuOwner m_hMenuResource;  // menu 150; its first popup is the tray menu
    HMENU m_hMenu = nullptr;
    bool m_bAdded = false;
    char m_szTip[64] = {};  // empty for the program's name
};
