#pragma once
#include <windows.h>

class ICaptureHost;

// The steps every capture trigger runs around the engine's call: the window gets out
// of the way, the engine takes the picture, and the bitmap is counted, announced,
// auto-saved if asked for and opened as a document; then the window comes back.
class CCaptureWorkflow {
public:
    // The engine's full-screen call; the other modes are the interactive capture's
    // (0 full screen, 1 window, 2 region, 3 object, -1 the configured one).
    static constexpr int kFullScreenCall = -2;
    // The interactive capture in the mode the options choose.
    static constexpr int kConfiguredMode = -1;

    explicit CCaptureWorkflow(ICaptureHost& host) : m_host(host) {}
    CCaptureWorkflow(const CCaptureWorkflow&) = delete;
    CCaptureWorkflow& operator=(const CCaptureWorkflow&) = delete;

    // Runs one capture; ignored while one runs, or while a modal window has disabled
    // the host's window.
    void Run(int mode);
    bool IsRunning() const { return m_bRunning; }
    // True for a trigger (hotkey or capture command) that waited in the queue while the
    // last capture ran: it asked for that capture and is dropped.
    bool IsStaleRequest(const MSG& msg) const;

private:
    // pinsHidden: the pinned images went, and the screen needs the pause to repaint.
    void Hide(bool pinsHidden);
    // mode: the engine's (0 full screen ...), or -1 for the configured one.
    void Accept(HBITMAP bitmap, int mode);

    ICaptureHost& m_host;
    bool m_bRunning = false;
    // From the request that started the last capture to its end, in message time.
    DWORD m_dwStart = 0;
    DWORD m_dwEnd = 0;
};
