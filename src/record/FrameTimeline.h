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

// The times frames are due at a steady rate from one start, whatever the lateness of each;
// and the delays a GIF stores (hundredths of a second) so that their running sum never drifts
// from the true times. No timer inside: the recorder asks when the next frame is due and says
// when it grabbed one, with GetTickCount times (they may wrap around).
class CFrameTimeline {
public:
    // framesPerSecond: 5, 10, 15, 20 or 30.
    CFrameTimeline(int framesPerSecond, DWORD startTick);

    DWORD NextDue() const { return m_startTick + GridMs(m_nextSlot); }
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

    const int m_framesPerSecond;
    const DWORD m_startTick;
    DWORD m_nextSlot = 0;
    int m_delaySumCs = 0;
    std::vector<SFrameTime> m_frames;
};
