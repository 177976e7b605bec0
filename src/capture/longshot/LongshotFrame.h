#pragma once
#include <windows.h>

#include <functional>

#include "ui/KeyboardHandOver.h"
#include "ui/Window.h"

// The border drawn around the selection while a long screenshot is taken: a ring-shaped
// window just outside it, so that it is in no grab and leaves the selection to the window
// beneath. It holds the keyboard: Enter ends, Esc cancels. Commands of the preview arrive
// here too. A wheel turned over the selection that comes to it (where the system gives the
// wheel to the window with the keyboard) goes on to the window beneath.
class CLongshotFrame : public CWindow {
public:
    // command: ID_LONGSHOT_DONE, ID_LONGSHOT_CANCEL or ID_LONGSHOT_AUTO; tick: the timer's.
    CLongshotFrame(std::function<void(UINT command)> command, std::function<void()> tick);

    // Made hidden around selection (screen coordinates); false when it cannot be.
    bool Create(const RECT& selection);
    // Shows it and gives it the keyboard; the timer starts ticking every intervalMs.
    void Show(UINT intervalMs);
    // Takes the keyboard back from the preview after its buttons were clicked.
    void TakeKeyboard();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void PassWheelOn(UINT msg, WPARAM wParam, LPARAM lParam);

    std::function<void(UINT)> m_command;
    std::function<void()> m_tick;
    RECT m_selection{};
    int m_border = 0;
    CKeyboardHandOver m_keyboard;
};
