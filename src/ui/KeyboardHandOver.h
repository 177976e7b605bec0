#pragma once
#include <windows.h>

// Makes a top-level window that comes onto the screen the owner of the keyboard, on the
// display too, so that a key typed the moment it appears is its own. Under X (Wine) the
// display's keyboard is asked for when the focus moves to a top-level window, stamped
// with the time of the last message the thread took. A window made foreground while
// hidden is never asked for; a stamp older than the last change of the display's focus
// (the notification area's window takes it when the window hides) or newer than the
// display's clock is ignored; and the request waits in the thread's output until the
// thread next turns to the display. For a moment after the show the request is
// repeated whenever another program has taken the activation.
class CKeyboardHandOver {
public:
    CKeyboardHandOver() = default;
    ~CKeyboardHandOver() { Stop(); }
    CKeyboardHandOver(const CKeyboardHandOver&) = delete;
    CKeyboardHandOver& operator=(const CKeyboardHandOver&) = delete;

    // Called while window is still hidden, some time before it shows: notes the moment
    // whose time the request will carry.
    void Prepare(HWND window);
    // Shows window (restored if minimized) and makes it foreground; it takes the
    // keyboard before it is drawn.
    void Show(HWND window);
    void Stop();

private:
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    void Start(HWND window);
    void Take();

    HWND m_hWnd = nullptr;
    DWORD m_dwStartedAt = 0;
};
