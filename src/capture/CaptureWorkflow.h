#pragma once
#include <windows.h>

#include "capture/CountdownWindow.h"
#include "capture/desk/CaptureDesk.h"
#include "scoped/ScopedHandles.h"
#include "settings/Settings.h"
#include "ui/KeyboardHandOver.h"

class ICaptureHost;

// The steps every capture trigger runs around the engine's call: the window gets out
// of the way, the engine takes the picture, and the bitmap is counted, announced,
// auto-saved and copied if asked for and opened as a document (or, when the options
// want none, only told about by the host); then the window comes back. With a
// countdown chosen, the window steps aside at once and the capture waits for zero. A
// region capture's rectangle is kept for taking the same region again. A capture to
// mark up, and with the option every interactive one, is chosen on the frozen screen
// and ends in the capture desk, whose way out (copy, pin, open) is then carried out.
class CCaptureWorkflow {
public:
    // The engine's full-screen call; the other modes are the interactive capture's
    // (0 full screen, 1 window, 2 region, 3 object, -1 the configured one).
    static constexpr int kFullScreenCall = -2;
    // The interactive capture in the mode the options choose.
    static constexpr int kConfiguredMode = -1;
    // The rectangle of the last region capture again, at once.
    static constexpr int kLastRegionCall = -3;
    // A part of the screen chosen on the frozen screen and marked up there, in the
    // capture desk, before it goes anywhere.
    static constexpr int kMarkupCall = -4;
    // A part of the screen chosen on the frozen screen, then scrolled and stitched into
    // one tall picture.
    static constexpr int kLongshotCall = -5;
    // A part of the screen chosen on the frozen screen, then recorded as an animated GIF.
    static constexpr int kRecordCall = -6;
    // However long the stored delay, the window is back within this time.
    static constexpr DWORD kLongestCapturePause = 10000;

    explicit CCaptureWorkflow(ICaptureHost& host);
    CCaptureWorkflow(const CCaptureWorkflow&) = delete;
    CCaptureWorkflow& operator=(const CCaptureWorkflow&) = delete;

    // Runs one capture, or starts the countdown to it; ignored while one runs or counts
    // down, or while a modal window has disabled the host's window.
    void Run(int mode);
    // Ends a countdown without a capture, as if the capture had been cancelled.
    void CancelCountdown();
    bool IsCountingDown() const { return m_countdown.Handle() != nullptr; }
    bool IsRunning() const { return m_bRunning; }
    // True for a trigger (hotkey or capture command) that waited in the queue while the
    // last capture ran: it asked for that capture and is dropped.
    bool IsStaleRequest(const MSG& msg) const;
    // Tests shorten the longest pause instead of spending its seconds.
    void SetLongestPause(DWORD milliseconds) { m_dwLongestPause = milliseconds; }

private:
    bool StartCountdown(int mode);
    void EndCountdown();
    void OnCountdownZero();
    void Capture(int mode);
    // The engine's mode in which the capture goes through the desk; 0: the usual way.
    int DeskMode(int mode) const;
    void CaptureOnDesk(int deskMode);
    void CaptureLongshot();
    void CaptureRecording();
    // What becomes of a finished recording in the file temporary: auto-saved when asked for,
    // then shown for playing, saving or copying.
    void KeepRecording(const char* temporary, const RECT& selection);
    // The long screenshot of a part of the screen; null when there is none to keep (the
    // user was told why where it was not his choice).
    CBitmapOwner TakeLongshot(const RECT& selection);
    // What every picture taken goes through first: it is counted and heard.
    void CountCapture();
    // Brings a window back that the user could not, and lets the next capture start.
    void Finish();
    // pinsHidden: the pinned images went, and the screen needs the pause to repaint.
    void Hide(bool pinsHidden);
    CBitmapOwner Take(int mode, bool& offScreen);
    // mode: the engine's (0 full screen ...) for finding where the picture lies.
    void Accept(CBitmapOwner bitmap, int mode);
    // Carries out the way the user left the desk by; the picture is one he kept.
    // keepRegion: the picture is the selection's, whose place is kept as the last region.
    void AcceptFromDesk(DeskResult result, bool keepRegion = true);
    // The tall picture goes back to the desk it was asked from.
    void ReturnToDesk(CBitmapOwner picture, const RECT& selection);
    void ReadTextFromDesk(DeskResult result);
    void ShowWindowAgain();

    ICaptureHost& m_host;
    bool m_bRunning = false;
    // Every option the capture follows, as it was when the capture was asked for:
    // what changes while it counts down or pauses is for the next one.
    CSettings m_settings;
    CCountdownWindow m_countdown;
    CKeyboardHandOver m_keyboard;
    int m_nCountdownMode = 0;  // what the countdown will capture
    DWORD m_dwLongestPause = kLongestCapturePause;
    // From the request that started the last capture to its end, in message time.
    DWORD m_dwStart = 0;
    DWORD m_dwEnd = 0;
};
