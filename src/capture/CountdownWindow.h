#pragma once
#include <windows.h>

#include <functional>

#include "ui/Window.h"

// The small topmost window that counts the seconds down before a delayed capture,
// near the bottom-right corner of the primary monitor's work area. It is never
// activated, so the program being captured keeps the keyboard focus and its open menus.
class CCountdownWindow : public CWindow {
public:
    struct Events {
        std::function<void(int secondsLeft)> tick;  // each second that is not the last
        std::function<void()> zero;                 // the window is gone from the screen
        std::function<void()> clicked;              // the user wants no capture
    };

    explicit CCountdownWindow(Events events) : m_events(std::move(events)) {}
    ~CCountdownWindow() override;

    // Shows seconds (more than 0) and starts counting. False when the window could not be made.
    bool Start(int seconds);
    // Stops counting and takes the window off the screen: when this returns, no picture
    // of the screen shows it any more.
    void Close();

    int SecondsLeft() const { return m_nSecondsLeft; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnTimer();
    void OnPaint();

    Events m_events;
    int m_nSecondsLeft = 0;
};
