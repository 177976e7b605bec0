#include "capture/recording/RecordingSession.h"

#include "capture/LoopMessage.h"
#include "capture/longshot/LongshotFrame.h"
#include "capture/recording/FrameTaker.h"
#include "capture/recording/RecordBar.h"
#include "res/resource.h"

namespace {
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockMs = 100;

// One recording from its first frame to its end: the bar and the ring on this thread, the
// frames taken on the taker's.
class CRecordingSession {
public:
    CRecordingSession(const RECT& selection, CSettings& settings, IRecordingSink& sink, DWORD limitMs);
    ~CRecordingSession() { CloseWindows(); }
    RecordingResult Run();

private:
    void CloseWindows();
    void OnCommand(UINT command);
    void End(RecordingEnd end);

    const RECT m_selection;
    CSettings& m_settings;
    CFrameTaker m_taker;
    CRecordBar m_bar;
    CLongshotFrame m_ring;
    bool m_bPaused = false;
    bool m_bDone = false;
    RecordingEnd m_end = RecordingEnd::kCancelled;
};

CRecordingSession::CRecordingSession(const RECT& selection, CSettings& settings, IRecordingSink& sink,
                                     DWORD limitMs)
    : m_selection(selection),
      m_settings(settings),
      m_taker(selection, settings.m_bIncludeCursor != 0, limitMs, sink),
      m_bar([this](UINT command) { OnCommand(command); }),
      // The ring never has the keyboard, and ticks for nobody.
      m_ring([](UINT) {}, [] {})
{
}

RecordingResult CRecordingSession::Run()
{
    if (!IsRecordingRate(m_settings.m_nRecordFramesPerSecond))
        m_settings.m_nRecordFramesPerSecond = kRecordingRates[1];
    if (!m_bar.Create(m_selection, m_settings.m_nRecordFramesPerSecond) || !m_ring.Create(m_selection)) {
        RecordingResult failed;
        failed.end = RecordingEnd::kFailed;
        failed.error = GetLastError();
        return failed;
    }
    // The bar covers the selection only where no side had room for it; the frames keep
    // what was there before it showed.
    if (!m_taker.Start(m_settings.m_nRecordFramesPerSecond, m_bar.Place(), m_bar.Handle()))
        return m_taker.Stop(RecordingEnd::kFailed);
    ShowWindow(m_ring.Handle(), SW_SHOWNOACTIVATE);
    m_bar.Show();
    SetTimer(m_bar.Handle(), kClockTimer, kClockMs, nullptr);
    MSG message;
    while (!m_bDone) {
        if (!GetLoopMessage(message)) {
            End(RecordingEnd::kCancelled);
            break;
        }
        if (m_bar.TakeKey(message))
            continue;
        if (message.hwnd == m_bar.Handle() && message.message == CFrameTaker::kEnded) {
            End(RecordingEnd::kStopped);  // the taker knows why
            continue;
        }
        if (message.hwnd == m_bar.Handle() && message.message == WM_TIMER && message.wParam == kClockTimer) {
            m_bar.ShowTime(m_taker.RecordedMs(), m_bPaused);
            continue;
        }
        if (IsDialogMessageA(m_bar.Handle(), &message))  // Tab and Shift+Tab over the bar
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // Gone before the sink finishes, which may take a while.
    CloseWindows();
    return m_taker.Stop(m_end);
}

void CRecordingSession::CloseWindows()
{
    m_ring.DestroyWindow();
    m_bar.DestroyWindow();
}

void CRecordingSession::OnCommand(UINT command)
{
    switch (command) {
    case ID_RECORD_PAUSE:
        m_bPaused = !m_bPaused;
        m_taker.Pause(m_bPaused);
        m_bar.ShowTime(m_taker.RecordedMs(), m_bPaused);
        break;
    case ID_RECORD_STOP:
        End(RecordingEnd::kStopped);
        break;
    case ID_RECORD_CANCEL:
        End(RecordingEnd::kCancelled);
        break;
    case IDC_RECORD_RATE:
        m_settings.m_nRecordFramesPerSecond = m_bar.Rate();
        m_taker.SetRate(m_settings.m_nRecordFramesPerSecond);
        break;
    }
}

void CRecordingSession::End(RecordingEnd end)
{
    m_end = end;
    m_bDone = true;
}
}  // namespace

RecordingResult RunRecording(const RECT& selection, CSettings& settings, IRecordingSink& sink, DWORD limitMs)
{
    CRecordingSession session(selection, settings, sink, limitMs);
    return session.Run();
}
