#pragma once
#include <windows.h>

#include "app/TrayIcon.h"

class CCaptureWorkflow;
class CMenuBar;

// The two ways to the frame from outside it: the tray icon with its menu, and the
// global hotkeys, which are the frame's from its creation to its close and only while
// no modal window of the program is open.
class CTrayAndHotkeys {
public:
    explicit CTrayAndHotkeys(CMenuBar& menuBar) : m_menuBar(menuBar) {}
    CTrayAndHotkeys(const CTrayAndHotkeys&) = delete;
    CTrayAndHotkeys& operator=(const CTrayAndHotkeys&) = delete;

    // Registers the hotkeys of the loaded settings and adds the icon.
    void Start(HWND frame, CCaptureWorkflow& capture);
    // Removes the icon and gives the hotkeys back, for the end of the run.
    void Stop();

    // The tray's and the hotkeys' messages; false for any other.
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // A modal window's keys are the user's: a hotkey control being edited must receive
    // them, and a capture would hide the frame and leave the modal window behind its
    // disabled owner.
    void OnEnable(bool enabled);
    // The tray menu's 显示 and 退出 (which closes the frame in sight); false for any other command.
    bool OnCommand(UINT command);
    // Minimised, the frame lives only in the tray; without an icon it stays on the
    // taskbar, the only way back.
    void OnMinimised();

    CTrayIcon& Icon() { return m_icon; }
    const CTrayIcon& Icon() const { return m_icon; }

private:
    void OnHotKey(WPARAM id);

    CMenuBar& m_menuBar;
    CTrayIcon m_icon;
    HWND m_hWndFrame = nullptr;
    CCaptureWorkflow* m_pCapture = nullptr;
    bool m_bHotkeysLive = false;  // registered from the start until the stop
};
