#include "record/FrameTimeline.h"

CFrameTimeline::CFrameTimeline(int framesPerSecond, DWORD startTick)
    : m_framesPerSecond(framesPerSecond), m_startTick(startTick)
{
}

// From the slot number each time, so that 1000/15 ms never accumulates a rounding error.
DWORD CFrameTimeline::GridMs(DWORD slot) const
{
    return static_cast<DWORD>(static_cast<unsigned long long>(slot) * 1000 / m_framesPerSecond);
}

void CFrameTimeline::Taken(DWORD now, bool sameAsLast)
{
    // Unsigned differences: right across the tick count's wrap-around.
    const DWORD elapsed = RecordedMs(now);
    m_lastTakenMs = elapsed;
    if (!sameAsLast || m_frames.empty()) {
        if (!m_frames.empty())
            CloseLastFrame(elapsed);
        SFrameTime frame;
        frame.startMs = elapsed;
        m_frames.push_back(frame);
    }
    // The next slot on the grid far enough ahead that this frame can be shown for the shortest
    // delay a GIF keeps; a slot closer than that behind a late grab would only make a frame no
    // viewer shows for its time.
    const DWORD earliest = elapsed + kMinDelayCs * 10 - m_gridStartMs;
    DWORD slot = static_cast<DWORD>(static_cast<unsigned long long>(earliest) * m_framesPerSecond / 1000);
    while (GridMs(slot) < earliest)
        ++slot;
    // A grab before its time still stands for the slot it was due at.
    m_nextSlot = slot > m_nextSlot ? slot : m_nextSlot + 1;
}

void CFrameTimeline::End(DWORD now)
{
    if (!m_frames.empty())
        CloseLastFrame(RecordedMs(now));
}

void CFrameTimeline::Pause(DWORD now)
{
    if (m_bPaused)
        return;
    m_pauseTick = now;
    m_bPaused = true;
}

void CFrameTimeline::Resume(DWORD now)
{
    if (!m_bPaused)
        return;
    m_pausedMs += now - m_pauseTick;
    m_bPaused = false;
    m_gridStartMs = RecordedMs(now);
    m_nextSlot = 0;
}

void CFrameTimeline::SetRate(int framesPerSecond)
{
    m_framesPerSecond = framesPerSecond;
    if (m_frames.empty())
        return;
    m_gridStartMs = m_lastTakenMs;
    m_nextSlot = 1;
}

// The delay that brings the running sum to the true end, rounded to the nearest hundredth;
// a frame raised to the shortest delay is made up by the ones after it.
void CFrameTimeline::CloseLastFrame(DWORD endMs)
{
    SFrameTime& frame = m_frames.back();
    frame.durationMs = endMs - frame.startMs;
    const int trueEndCs = static_cast<int>((endMs - m_frames.front().startMs + 5) / 10);
    const int delay = trueEndCs - m_delaySumCs;
    frame.delayCs = delay > kMinDelayCs ? delay : kMinDelayCs;
    m_delaySumCs += frame.delayCs;
}
