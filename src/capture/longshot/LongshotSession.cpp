#include "capture/longshot/LongshotSession.h"

#include <algorithm>

#include "capture/LoopMessage.h"
#include "capture/longshot/LongshotFrame.h"
#include "capture/longshot/LongshotPreview.h"
#include "capture/longshot/PageScroller.h"
#include "capture/longshot/ScreenGrab.h"
#include "capture/longshot/ScrollStitcher.h"
#include "capture/longshot/SelectionMouseWatch.h"
#include "imageio/TopDownDib.h"
#include "res/resource.h"
#include "util/FastString.h"

namespace {
constexpr UINT kTickMs = 15;
// Grabs equal in a row before the screen counts as settled: a window scrolling smoothly
// shows each of its frames for a tick or two.
constexpr int kSettledTicks = 3;
// After a wheel turn the screen may take this long to show anything new; nothing by then
// is the end of the page. A scroll bar that moved says the content will: it gets longer.
constexpr DWORD kNoMovementMs = 2000;
constexpr DWORD kScrollBarMovedMs = 5000;
// A screen that never settles (something in the selection animates) is taken as it is
// after this long, and stitched only where it fits exactly; a window still painting (a
// slow one, or a busy machine) is waited for longer.
constexpr DWORD kSettleLimitMs = 1500;
constexpr DWORD kPaintingLimitMs = 5000;

// One long screenshot from its first grab to its end, driven by the frame's timer.
class CLongshotSession {
public:
    CLongshotSession(const RECT& selection, const CSettings& settings);
    LongshotResult Run();

private:
    enum class Phase {
        kFirstGrab,  // waiting for the screen to settle under the new windows
        kScrolled,   // the program scrolled down: waiting for the content to move and settle
        kReturned,   // the program scrolled back after a step that did not fit
        kWatching,   // automatic scrolling is off: taking what the user scrolls into view
        kStopped,    // nothing more is taken; the user ends
    };

    void OnCommand(UINT command);
    void OnTick();
    void OnSettled(bool settled);
    // Stitches the grab; fromProgram: it follows the program's scroll down.
    void Stitch(bool fromProgram);
    void StepDown(int steps);
    void ScrollBack();
    void SetAutomatic(bool on);
    void EnterPhase(Phase phase);
    void Status(UINT message, bool warning);
    void Stop(LongshotEnd why);
    void End(LongshotEnd end);
    // About two thirds of the part that moves, so that a third is left to match.
    int StepRows() const;
    LongshotResult TakeResult();

    const RECT m_selection;
    CScreenGrab m_grab;
    CScrollStitcher m_stitcher;
    CPageScroller m_scroller;
    CLongshotFrame m_frame;
    CLongshotPreview m_preview;
    CSelectionMouseWatch m_mouse;
    bool m_bPreview = false;
    Phase m_phase = Phase::kFirstGrab;
    DWORD m_dwPhaseStart = 0;
    bool m_bAutomatic = true;
    bool m_bDone = false;
    LongshotEnd m_end = LongshotEnd::kCancelled;
    uint64_t m_lastFingerprint = 0, m_referenceFingerprint = 0;
    int m_settledTicks = 0;
    int m_nSteps = 0;     // of the last scroll down
    int m_nMostSteps = 0; // after a step that did not fit, steps stay smaller; 0: no bound
    int m_nExpected = 0;  // the rows it should have moved the content by; 0 when unknown
};

CLongshotSession::CLongshotSession(const RECT& selection, const CSettings& settings)
    : m_selection(selection),
      m_stitcher(selection.right - selection.left, selection.bottom - selection.top, settings.m_nLongshotMaxRows),
      m_scroller(POINT{(selection.left + selection.right) / 2, (selection.top + selection.bottom) / 2}),
      m_frame([this](UINT command) { OnCommand(command); }, [this] { OnTick(); })
{
}

LongshotResult CLongshotSession::Run()
{
    if (!m_grab.Create(m_selection) || !m_frame.Create(m_selection)) {
        LongshotResult failed;
        failed.end = LongshotEnd::kFailed;
        failed.error = GetLastError();
        return failed;
    }
    // Without a preview (no room beside the selection) the keys and the page's end still work.
    m_bPreview = m_preview.Create(m_frame.Handle(), m_selection);
    if (m_bPreview)
        m_preview.SetAutoScroll(m_bAutomatic);
    // Without the watch the wheel still works; only clicks reach the window beneath.
    m_mouse.Start(m_selection, m_frame.Handle());
    EnterPhase(Phase::kFirstGrab);
    m_frame.Show(kTickMs);
    MSG message;
    while (!m_bDone) {
        if (!GetLoopMessage(message)) {
            End(LongshotEnd::kCancelled);
            break;
        }
        if (message.hwnd == m_frame.Handle() && message.message == CSelectionMouseWatch::kWheelTurned)
            SetAutomatic(false);
        else if (message.hwnd == m_frame.Handle() && message.message == CSelectionMouseWatch::kDoubleClicked)
            OnCommand(ID_LONGSHOT_DONE);
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (m_bPreview)
        m_preview.DestroyWindow();
    m_frame.DestroyWindow();
    return TakeResult();
}

void CLongshotSession::OnCommand(UINT command)
{
    switch (command) {
    case ID_LONGSHOT_DONE:
        End(m_phase == Phase::kStopped ? m_end : LongshotEnd::kFinished);
        break;
    case ID_LONGSHOT_CANCEL:
        End(LongshotEnd::kCancelled);
        break;
    case ID_LONGSHOT_AUTO:
        SetAutomatic(!m_bAutomatic);
        m_frame.TakeKeyboard();
        break;
    }
}

void CLongshotSession::SetAutomatic(bool on)
{
    if (m_phase == Phase::kStopped || m_bDone || on == m_bAutomatic)
        return;
    m_bAutomatic = on;
    if (m_bPreview)
        m_preview.SetAutoScroll(on);
    // The user's wheel makes the distance of a scroll in progress unknown.
    if (!on && (m_phase == Phase::kScrolled || m_phase == Phase::kReturned))
        EnterPhase(Phase::kWatching);
    else if (on && m_phase == Phase::kWatching)
        StepDown(m_scroller.StepsFor(StepRows()));
}

void CLongshotSession::EnterPhase(Phase phase)
{
    m_phase = phase;
    m_dwPhaseStart = GetTickCount();
    m_settledTicks = 0;
}

// Every tick grabs; a grab counts once the screen has settled: the same pixels several
// ticks in a row, and nothing left for the scrolled window to paint.
void CLongshotSession::OnTick()
{
    if (m_bDone || m_phase == Phase::kStopped)
        return;
    if (!m_grab.Grab()) {
        Stop(LongshotEnd::kNoMatch);
        return;
    }
    const uint64_t fingerprint = m_grab.Fingerprint();
    m_settledTicks = fingerprint == m_lastFingerprint ? m_settledTicks + 1 : 0;
    m_lastFingerprint = fingerprint;
    const bool painting = m_scroller.IsPainting(), settled = m_settledTicks >= kSettledTicks && !painting;
    const DWORD waited = GetTickCount() - m_dwPhaseStart;
    if (settled || waited >= (painting ? kPaintingLimitMs : kSettleLimitMs))
        OnSettled(settled);
}

void CLongshotSession::OnSettled(bool settled)
{
    const bool moved = m_lastFingerprint != m_referenceFingerprint;
    switch (m_phase) {
    case Phase::kFirstGrab:
        m_stitcher.Add(m_grab.Pixels(), 0);
        m_referenceFingerprint = m_lastFingerprint;
        if (m_bPreview)
            m_preview.ShowRows(m_stitcher);
        EnterPhase(Phase::kWatching);
        if (m_bAutomatic)
            StepDown(1);
        break;
    case Phase::kScrolled:
        if (moved)
            Stitch(true);
        else if (settled && GetTickCount() - m_dwPhaseStart >= (m_scroller.BarMoved() ? kScrollBarMovedMs : kNoMovementMs))
            End(LongshotEnd::kPageEnd);
        break;
    case Phase::kReturned:
        if (!moved || m_stitcher.Add(m_grab.Pixels(), 0).step != StitchStep::kNoMatch) {
            m_referenceFingerprint = m_lastFingerprint;
            StepDown(m_nMostSteps);
        } else {
            Stop(LongshotEnd::kNoMatch);
        }
        break;
    case Phase::kWatching:
        // A screen that does not settle is tried only now and then.
        if (moved)
            Stitch(false);
        EnterPhase(Phase::kWatching);
        break;
    case Phase::kStopped:
        break;
    }
}

void CLongshotSession::Stitch(bool fromProgram)
{
    const StitchAnswer answer = m_stitcher.Add(m_grab.Pixels(), fromProgram ? m_nExpected : 0);
    if (answer.step != StitchStep::kNoMatch)
        m_referenceFingerprint = m_lastFingerprint;
    if (m_bPreview && answer.rows > 0)
        m_preview.ShowRows(m_stitcher);
    switch (answer.step) {
    case StitchStep::kLimitReached:
        End(LongshotEnd::kLimit);
        return;
    case StitchStep::kNoMovement:
        if (fromProgram)
            End(LongshotEnd::kPageEnd);
        return;
    case StitchStep::kNoMatch:
        if (fromProgram)
            ScrollBack();
        else  // the wheel turned too far at once: back a little, and the next grab fits again
            Status(IDS_LONGSHOT_SCROLL_BACK, true);
        return;
    case StitchStep::kAppended:
    case StitchStep::kScrolledBack:
        break;
    }
    Status(IDS_LONGSHOT_HINT, false);
    if (!fromProgram)
        return;
    if (answer.moved > 0)
        m_scroller.Moved(m_nSteps, answer.moved);
    StepDown(m_scroller.StepsFor(StepRows()));
}

// Too far, or something moves by itself: back to the last grab that fitted, and a smaller
// step from there. A single step that does not fit ends the taking.
void CLongshotSession::ScrollBack()
{
    if (m_nSteps <= 1) {
        Stop(LongshotEnd::kNoMatch);
        return;
    }
    m_scroller.Scroll(-m_nSteps);
    m_nMostSteps = m_nSteps / 2;
    EnterPhase(Phase::kReturned);
}

void CLongshotSession::StepDown(int steps)
{
    if (!m_scroller.CanGoDown()) {
        End(LongshotEnd::kPageEnd);
        return;
    }
    m_nSteps = std::max(1, m_nMostSteps > 0 ? std::min(steps, m_nMostSteps) : steps);
    m_nExpected = m_scroller.Scroll(m_nSteps);
    EnterPhase(Phase::kScrolled);
}

int CLongshotSession::StepRows() const
{
    return (m_stitcher.MovingRows() - CScrollStitcher::kMinOverlapRows) * 2 / 3;
}

void CLongshotSession::Status(UINT message, bool warning)
{
    if (!m_bPreview)
        return;
    Vorn::CFastString<256> text;
    text.LoadString(message);
    m_preview.SetStatus(text.GetString(), warning);
}

// The taking stops where it is, and the preview says why; the user keeps or drops what
// was taken. Without a preview nothing would say so: it ends at once.
void CLongshotSession::Stop(LongshotEnd why)
{
    m_end = why;
    if (!m_bPreview) {
        End(why);
        return;
    }
    EnterPhase(Phase::kStopped);
    Status(IDS_LONGSHOT_NO_MATCH, true);
}

void CLongshotSession::End(LongshotEnd end)
{
    m_end = end;
    m_bDone = true;
    // Ended before the screen first settled: the selection as it shows now is the picture.
    if (end != LongshotEnd::kCancelled && m_stitcher.PictureHeight() == 0 && m_grab.Grab())
        m_stitcher.Add(m_grab.Pixels(), 0);
}

LongshotResult CLongshotSession::TakeResult()
{
    LongshotResult result;
    result.end = m_end;
    if (m_end == LongshotEnd::kCancelled)
        return result;
    DWORD* pixels = nullptr;
    result.picture = CreateTopDownDib(m_stitcher.Width(), m_stitcher.PictureHeight(), pixels);
    if (!result.picture) {
        result.end = LongshotEnd::kFailed;
        result.error = GetLastError();
        return result;
    }
    m_stitcher.TakeInto(reinterpret_cast<uint32_t*>(pixels));
    return result;
}
}  // namespace

LongshotResult RunLongshot(const RECT& selection, const CSettings& settings)
{
    CLongshotSession session(selection, settings);
    return session.Run();
}
