#include "ui/KeyboardHandOver.h"

namespace {
constexpr DWORD kHandOverMs = 1000;
constexpr UINT kAskAgainMs = 100;
// Older than any rounding between the thread's clock and the display's.
constexpr DWORD kStampAgeMs = 3;

UINT StampMessage()
{
    static const UINT stamp = RegisterWindowMessageA("Lumigrab.KeyboardHandOver");
    return stamp;
}

void PostStamp(HWND window)
{
    PostMessageA(window, StampMessage(), 0, 0);
}

// Taking the posted stamp gives the thread its time as the message time.
bool TakeStamp(HWND window)
{
    MSG message;
    return PeekMessageA(&message, window, StampMessage(), StampMessage(), PM_REMOVE) != FALSE;
}

// Only a look into the queue that finds nothing makes the thread turn to the display:
// it reads the display's events and sends what was asked of it at once.
void SendToDisplay(HWND window)
{
    MSG message;
    PeekMessageA(&message, window, StampMessage(), StampMessage(), PM_NOREMOVE);
}
}  // namespace

void CKeyboardHandOver::Prepare(HWND window)
{
    TakeStamp(window);
    PostStamp(window);
}

void CKeyboardHandOver::Show(HWND window)
{
    // The focus change of an earlier hide may still be on its way (an event the thread
    // has not read while it was busy) and would take the activation away again.
    SendToDisplay(window);
    // Foreground before the show too: Windows' own keyboard is the window's at once. The
    // window is drawn only after the request.
    SetForegroundWindow(window);
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    else
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
    Start(window);
    // The window's own area and frame; what changed in its children while it was away
    // waits to be painted by them already.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void CKeyboardHandOver::Start(HWND window)
{
    Stop();
    m_hWnd = window;
    m_dwStartedAt = GetTickCount();
    // A stamp taken meanwhile (by a message box's loop) is made again.
    if (!TakeStamp(m_hWnd)) {
        PostStamp(m_hWnd);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kStampAgeMs, 0);
        TakeStamp(m_hWnd);
    }
    Take();
    // The object's address is the timer's id: unique on the window, and the way back here.
    SetTimer(m_hWnd, reinterpret_cast<UINT_PTR>(this), kAskAgainMs, OnTimer);
}

void CKeyboardHandOver::Stop()
{
    if (m_hWnd)
        KillTimer(m_hWnd, reinterpret_cast<UINT_PTR>(this));
    m_hWnd = nullptr;
}

// Only another program's window is undone: a message box of this one keeps the keyboard.
void CALLBACK CKeyboardHandOver::OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    auto* self = reinterpret_cast<CKeyboardHandOver*>(id);
    if (GetTickCount() - self->m_dwStartedAt >= kHandOverMs || !IsWindowVisible(self->m_hWnd)) {
        self->Stop();
        return;
    }
    const HWND foreground = GetForegroundWindow();
    if ((foreground && GetWindowThreadProcessId(foreground, nullptr) == GetCurrentThreadId())
        || !IsWindowEnabled(self->m_hWnd))
        return;
    // The other program took it just now: a stamp from before would be ignored.
    PostStamp(self->m_hWnd);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kStampAgeMs, 0);
    TakeStamp(self->m_hWnd);
    self->Take();
}

// The focus leaves the window and comes back to the window itself, so that the request
// is made even where the window already counts as having it, and for the top-level
// window, the one the display knows. The window passes the focus on to its child as it
// does on any return.
void CKeyboardHandOver::Take()
{
    SetForegroundWindow(m_hWnd);
    SetFocus(nullptr);
    SetFocus(m_hWnd);
    SendToDisplay(m_hWnd);
}
