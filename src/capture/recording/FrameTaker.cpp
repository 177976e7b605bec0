#include "capture/recording/FrameTaker.h"

#include <mmsystem.h>
#include <process.h>

#include <algorithm>
#include <cstring>

CFrameTaker::CFrameTaker(const RECT& selection, bool withPointer, DWORD limitMs, IRecordingSink& sink)
    : m_selection(selection), m_bWithPointer(withPointer), m_limitMs(limitMs), m_sink(sink)
{
    timeBeginPeriod(1);
}

CFrameTaker::~CFrameTaker()
{
    if (m_thread)
        Stop(RecordingEnd::kCancelled);
    timeEndPeriod(1);
}

bool CFrameTaker::Start(int framesPerSecond, const RECT& covered, HWND notify)
{
    m_hNotify = notify;
    m_bEnded = true;  // until the thread runs
    m_result.end = RecordingEnd::kFailed;
    m_wake.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!m_wake || !m_grab.Create(m_selection)) {
        m_result.error = GetLastError();
        return false;
    }
    const size_t pixels = static_cast<size_t>(m_grab.Width()) * m_grab.Height();
    m_current.resize(pixels);
    m_previous.resize(pixels);
    const DWORD start = timeGetTime();
    m_timeline.emplace(framesPerSecond, start);
    if (!Grab()) {
        m_result.error = GetLastError();
        return false;
    }
    if (IntersectRect(&m_covered, &covered, &m_selection)) {
        OffsetRect(&m_covered, -m_selection.left, -m_selection.top);
        m_first = m_current;
    }
    m_timeline->Taken(start, false);
    if (!m_sink.AddFrame(m_current.data(), 0)) {
        m_result.error = m_sink.Error();
        m_result.end = m_result.error ? RecordingEnd::kFailed : RecordingEnd::kSizeLimit;
        return false;
    }
    m_nFrames = 1;
    m_current.swap(m_previous);
    m_bEnded = false;
    m_thread.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadMain, this, 0, nullptr)));
    if (!m_thread) {
        m_bEnded = true;
        m_result.error = GetLastError();
        return false;
    }
    return true;
}

void CFrameTaker::Pause(bool paused)
{
    const CSectionLock lock(m_lock);
    if (m_bEnded)
        return;
    if (paused)
        m_timeline->Pause(timeGetTime());
    else
        m_timeline->Resume(timeGetTime());
    SetEvent(m_wake.get());
}

void CFrameTaker::SetRate(int framesPerSecond)
{
    const CSectionLock lock(m_lock);
    if (m_bEnded)
        return;
    m_timeline->SetRate(framesPerSecond);
    SetEvent(m_wake.get());
}

DWORD CFrameTaker::RecordedMs() const
{
    const CSectionLock lock(m_lock);
    return m_timeline ? std::min(m_timeline->RecordedMs(timeGetTime()), m_limitMs) : 0;
}

RecordingResult CFrameTaker::Stop(RecordingEnd end)
{
    {
        const CSectionLock lock(m_lock);
        if (!m_bEnded) {
            m_result.end = end;
            m_timeline->End(timeGetTime());
        }
        m_bEnded = m_bStopping = true;
    }
    if (m_thread) {
        SetEvent(m_wake.get());
        WaitForSingleObject(m_thread.get(), INFINITE);
        m_thread.reset();
    }
    m_result.frames = m_nFrames;
    int lastDelayCs = m_nLastDelayCs;
    if (m_result.end == RecordingEnd::kStopped || m_result.end == RecordingEnd::kTimeLimit) {
        const SFrameTime& last = m_timeline->Frames().back();
        m_result.durationMs = last.startMs + last.durationMs;
        lastDelayCs = last.delayCs;
    }
    const bool finish = m_result.end == RecordingEnd::kStopped || m_result.end == RecordingEnd::kTimeLimit ||
                        m_result.end == RecordingEnd::kSizeLimit;
    if (finish && !m_sink.Finish(lastDelayCs)) {
        m_result.end = RecordingEnd::kFailed;
        m_result.error = m_sink.Error();
    }
    return m_result;
}

unsigned __stdcall CFrameTaker::ThreadMain(void* self)
{
    static_cast<CFrameTaker*>(self)->Run();
    return 0;
}

// Holds the lock except while it waits; what wakes it is set after a change, so none is missed.
void CFrameTaker::Run()
{
    for (;;) {
        DWORD wait = INFINITE;  // while paused
        {
            const CSectionLock lock(m_lock);
            if (m_bStopping)
                return;
            if (!m_timeline->Paused()) {
                const DWORD now = timeGetTime();
                const DWORD recorded = m_timeline->RecordedMs(now);
                if (recorded >= m_limitMs) {
                    m_timeline->End(now - (recorded - m_limitMs));
                    EndBySelf(RecordingEnd::kTimeLimit, 0);
                    return;
                }
                // Signed: a frame that is late is due now.
                const int untilDue = static_cast<int>(m_timeline->NextDue() - now);
                if (untilDue <= 0) {
                    if (!TakeFrame(now))
                        return;
                    continue;
                }
                wait = std::min(static_cast<DWORD>(untilDue), m_limitMs - recorded);
            }
        }
        WaitForSingleObject(m_wake.get(), wait);
    }
}

bool CFrameTaker::TakeFrame(DWORD now)
{
    if (!Grab()) {
        EndBySelf(RecordingEnd::kFailed, GetLastError());
        return false;
    }
    const bool same = std::memcmp(m_current.data(), m_previous.data(), m_current.size() * sizeof m_current[0]) == 0;
    m_timeline->Taken(now, same);
    if (same)
        return true;
    const std::vector<SFrameTime>& frames = m_timeline->Frames();
    const int previousDelayCs = frames[frames.size() - 2].delayCs;
    if (!m_sink.AddFrame(m_current.data(), previousDelayCs)) {
        // The refused frame is not in the recording: the one before it ends the recording.
        m_nLastDelayCs = previousDelayCs;
        m_result.durationMs = frames.back().startMs;
        const DWORD error = m_sink.Error();
        EndBySelf(error ? RecordingEnd::kFailed : RecordingEnd::kSizeLimit, error);
        return false;
    }
    ++m_nFrames;
    m_current.swap(m_previous);
    return true;
}

bool CFrameTaker::Grab()
{
    if (!m_grab.Grab())
        return false;
    if (m_bWithPointer)
        DrawPointer();
    const uint32_t* grabbed = m_grab.Pixels();
    std::transform(grabbed, grabbed + m_current.size(), m_current.begin(),
                   [](uint32_t pixel) { return pixel & 0xFFFFFF; });
    const int width = m_grab.Width();
    for (long y = m_covered.top; y < m_covered.bottom; ++y) {
        const size_t row = static_cast<size_t>(y) * width;
        std::copy(m_first.begin() + row + m_covered.left, m_first.begin() + row + m_covered.right,
                  m_current.begin() + row + m_covered.left);
    }
    return true;
}

// As the screen shows it, at its hot spot: a moved pointer makes a new frame.
void CFrameTaker::DrawPointer()
{
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    if (!GetCursorInfo(&cursor) || !(cursor.flags & CURSOR_SHOWING))
        return;
    // The pointer of a window no thread has set one for yet is the system's arrow.
    const HCURSOR shape = cursor.hCursor ? cursor.hCursor : LoadCursor(nullptr, IDC_ARROW);
    ICONINFO icon{};
    if (!GetIconInfo(shape, &icon))
        return;
    const CBitmapOwner mask(icon.hbmMask), colour(icon.hbmColor);
    DrawIconEx(m_grab.Canvas(), cursor.ptScreenPos.x - static_cast<int>(icon.xHotspot) - m_selection.left,
               cursor.ptScreenPos.y - static_cast<int>(icon.yHotspot) - m_selection.top, shape, 0, 0, 0, nullptr,
               DI_NORMAL);
    GdiFlush();
}

void CFrameTaker::EndBySelf(RecordingEnd end, DWORD error)
{
    m_result.end = end;
    m_result.error = error;
    m_bEnded = true;
    PostMessageA(m_hNotify, kEnded, 0, 0);
}
