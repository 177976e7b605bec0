#pragma once
#include <windows.h>

#include <vector>

// One frame of a recording on the recording's clock, in ms from its start, and the delay a
// GIF stores for it in hundredths of a second.
struct SFrameTime {
    DWORD startMs = 0;
    DWORD durationMs = 0;  // 0 while the frame is still shown
    int delayCs = 0;       // 0 while the frame is still shown
};

// The longest recording, in recorded time (pauses left out).
constexpr DWORD kRecordingTimeLimitMs = 60000;

// The times frames are due at a steady rate from one start, whatever the lateness of each;
// and the delays a GIF stores (hundredths of a second) so that their running sum never drifts
// from the true times. No timer inside: the recorder asks when the next frame is due and says
// when it grabbed one, in ticks of a millisecond clock (they may wrap around). Times in frames
// are recorded time: the recording's clock stands still while it is paused.
class CFrameTimeline {
public:
    // framesPerSecond: 5, 10, 15, 20 or 30.
    CFrameTimeline(int framesPerSecond, DWORD startTick);

    DWORD NextDue() const { return m_startTick + m_pausedMs + m_gridStartMs + GridMs(m_nextSlot); }
    // The recorded time at now: what has passed since the start, pauses left out.
    DWORD RecordedMs(DWORD now) const { return (m_bPaused ? m_pauseTick : now) - m_startTick - m_pausedMs; }
    bool Paused() const { return m_bPaused; }
    // The clock stops at now; the frame shown lasts only until then unless the screen still
    // shows it after Resume. At Resume the next frame is due at once.
    void Pause(DWORD now);
    void Resume(DWORD now);
    // From the next frame on, due at the new rate after the last grab.
    void SetRate(int framesPerSecond);
    // A frame was grabbed at now, maybe late. A late frame lasts until the next grab, which
    // comes on the grid: the slots missed meanwhile are skipped, not made up. A frame the same
    // as the last one only lengthens it.
    void Taken(DWORD now, bool sameAsLast);
    // The recording stopped at now: the last frame lasts until then.
    void End(DWORD now);

    // Every frame taken, in order; a frame's duration and delay are known once the next
    // frame (or the end) has come.
    const std::vector<SFrameTime>& Frames() const { return m_frames; }

    // Browsers show a GIF delay below 2 cs as a slow default, so none is stored shorter.
    static constexpr int kMinDelayCs = 2;

private:
    DWORD GridMs(DWORD slot) const;
    void CloseLastFrame(DWORD endMs);

    int m_framesPerSecond;
    const DWORD m_startTick;
    DWORD m_pausedMs = 0;     // all the pauses before the current one
    DWORD m_pauseTick = 0;
    bool m_bPaused = false;
    DWORD m_gridStartMs = 0;  // recorded time of slot 0: the grid restarts at a resume or a new rate
    DWORD m_lastTakenMs = 0;
    DWORD m_nextSlot = 0;
    int m_delaySumCs = 0;
    std::vector<SFrameTime> m_frames;
};
