#pragma once
#include <windows.h>

#include <functional>

#include "ui/GuiFont.h"
#include "ui/KeyboardHandOver.h"
#include "ui/Window.h"

// The control bar of a recording: 暂停/继续, 停止, 取消, the recorded time and the frame rate.
// It sits beside the selection, outside it, on the monitor that shows most of it; where no
// side has room it goes into the selection's bottom-right corner. It takes the keyboard when
// shown, on 停止: Enter stops, Esc cancels, wherever on the bar the focus is.
class CRecordBar : public CWindow {
public:
    // command: ID_RECORD_PAUSE, ID_RECORD_STOP, ID_RECORD_CANCEL, or IDC_RECORD_RATE when
    // another rate was chosen (Rate() tells which).
    explicit CRecordBar(std::function<void(UINT command)> command);

    // Made hidden; false when it cannot be (the reason in the last error).
    bool Create(const RECT& selection, int framesPerSecond);
    // Where it is on the screen; inside the selection when no side had room.
    RECT Place() const;
    void Show();
    void ShowTime(DWORD recordedMs, bool paused);
    int Rate() const;

    // Enter and Esc typed anywhere on the bar; true when message was one of them.
    bool TakeKey(const MSG& message);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool CreateControls(int framesPerSecond);
    void LayOut(int dpi);

    std::function<void(UINT)> m_command;
    CGuiFont m_font;
    CKeyboardHandOver m_keyboard;
    bool m_bPaused = false;
};
