#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "capture/longshot/ScreenGrab.h"
#include "capture/recording/RecordingSession.h"
#include "record/FrameTimeline.h"
#include "scoped/ScopedHandles.h"

// Takes the frames of a recording on a thread of its own, at the timeline's steady rate, and
// hands those that changed to the sink; the thread that made it steers it (pause, rate, stop)
// and is told by a posted message when it ended by itself. Its times are on the 1 ms clock
// (timeGetTime), made that fine for as long as it lives.
class CFrameTaker {
public:
    // Posted to the window given to Start when the taking ended by itself (limitMs of recorded
    // time, the sink refusing a frame, a failed grab); Stop then gives the result.
    static constexpr UINT kEnded = WM_APP + 0x134;

    CFrameTaker(const RECT& selection, bool withPointer, DWORD limitMs, IRecordingSink& sink);
    ~CFrameTaker();
    CFrameTaker(const CFrameTaker&) = delete;
    CFrameTaker& operator=(const CFrameTaker&) = delete;

    // Takes the first frame now and starts the thread for the others. covered (screen
    // coordinates, may be empty): a window of the recorder that shows over the selection; its
    // part of every frame keeps the pixels of this first one. False when the first frame
    // cannot be taken: Stop gives the reason.
    bool Start(int framesPerSecond, const RECT& covered, HWND notify);
    void Pause(bool paused);
    void SetRate(int framesPerSecond);
    DWORD RecordedMs() const;
    // Ends the taking (end: kStopped or kCancelled unless it ended by itself) and gives the
    // result; the sink is finished unless cancelled or failed.
    RecordingResult Stop(RecordingEnd end);

private:
    static unsigned __stdcall ThreadMain(void* self);
    void Run();
    // Grabs at now and hands the frame over if it changed; false when the taking ends.
    bool TakeFrame(DWORD now);
    bool Grab();
    void DrawPointer();
    void EndBySelf(RecordingEnd end, DWORD error);

    const RECT m_selection;
    const bool m_bWithPointer;
    const DWORD m_limitMs;
    IRecordingSink& m_sink;
    CScreenGrab m_grab;
    RECT m_covered{};  // in frame coordinates
    std::vector<uint32_t> m_current, m_previous;
    std::vector<uint32_t> m_first;  // kept only while something covers a part
    int m_nFrames = 0;
    int m_nLastDelayCs = 0;  // of the frame before the last one handed over

    CKernelHandleOwner m_wake;  // set when the thread has something new to look at
    CKernelHandleOwner m_thread;

    mutable CCriticalSection m_lock;  // guards what follows
    std::optional<CFrameTimeline> m_timeline;  // from Start
    bool m_bStopping = false;
    bool m_bEnded = false;  // by itself
    RecordingResult m_result;
    HWND m_hNotify = nullptr;
};
