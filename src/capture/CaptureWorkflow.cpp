#include "capture/CaptureWorkflow.h"

#include <mmsystem.h>

#include <algorithm>

#include "capture/AutoSave.h"
#include "capture/CaptureEngine.h"
#include "capture/CaptureHost.h"
#include "capture/CaptureOrigin.h"
#include "capture/LastRegion.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"
#include "settings/Settings.h"
#include "ui/UpdateUI.h"
#include "util/AppMessageBox.h"

namespace {
// However long the stored delay, the window is back within this time.
constexpr DWORD kLongestCapturePause = 10000;
constexpr int kModeRegion = 2;

// Only a capture that went everywhere it was to go stays without a document: after a
// failed auto-save or copy the document is the one place where it is not lost.
bool OpensNoDocument(bool saved, bool copied)
{
    const bool autoSave = g_settings.m_bAutoSave != 0;
    const bool copy = g_settings.m_bCopyAfterCapture != 0;
    return g_settings.m_bNoDocumentAfterCapture && (autoSave || copy) && saved == autoSave && copied == copy;
}
}

CCaptureWorkflow::CCaptureWorkflow(ICaptureHost& host)
    : m_host(host),
      m_countdown({[this](int secondsLeft) { m_host.ShowCountdown(secondsLeft); },
                   [this] {
                       EndCountdown();
                       Capture(m_nCountdownMode);
                   },
                   [this] { CancelCountdown(); }})
{
}

// The interactive capture runs its own message loop, so a trigger can arrive in the
// middle of it; it is ignored rather than nested, as one during a countdown is. A tray
// command while a modal window is open is ignored too.
void CCaptureWorkflow::Run(int mode)
{
    HWND window = m_host.CaptureWindow();
    if (m_bRunning || !IsWindowEnabled(window))
        return;
    if (mode == kLastRegionCall && !g_settings.m_bHasLastRegion)
        return;
    // Checked before the window goes: nothing would bring it back.
    if (!g_captureEngine.IsLoaded()) {
        AppMessageBox(window, IDS_ENGINE_MISSING, MB_ICONEXCLAMATION);
        return;
    }
    m_bRunning = true;
    m_dwStart = GetMessageTime();
    // A countdown window that cannot be made is no reason to lose the capture.
    if (g_settings.m_nCountdownSeconds > 0 && StartCountdown(mode))
        return;
    Capture(mode);
}

void CCaptureWorkflow::CancelCountdown()
{
    if (!IsCountingDown())
        return;
    m_countdown.Close();
    EndCountdown();
    Finish();
}

bool CCaptureWorkflow::StartCountdown(int mode)
{
    // Out of the way from the start: the user arranges the screen while it counts. A
    // capture without its countdown window hides the frame all the same.
    if (g_settings.m_bHideMainWindow)
        ShowWindow(m_host.CaptureWindow(), SW_HIDE);
    if (!m_countdown.Start(g_settings.m_nCountdownSeconds))
        return false;
    m_nCountdownMode = mode;
    g_updateUI.EnableCommand(ID_TRAY_CANCEL_DELAY, true);
    m_host.ShowCountdown(g_settings.m_nCountdownSeconds);
    return true;
}

void CCaptureWorkflow::EndCountdown()
{
    g_updateUI.EnableCommand(ID_TRAY_CANCEL_DELAY, false);
    m_host.ShowCountdown(0);
}

void CCaptureWorkflow::Capture(int mode)
{
    // The pinned images are never part of the picture.
    Hide(m_host.HidePins());
    bool offScreen = false;
    // Where the picture lies on the screen is found as for the engine's own modes.
    Accept(Take(mode, offScreen), mode == kFullScreenCall ? 0 : mode == kLastRegionCall ? kModeRegion : mode);
    m_host.ShowPins();
    Finish();
    if (offScreen)
        AppMessageBox(m_host.CaptureWindow(), IDS_LAST_REGION_OFF_SCREEN, MB_ICONEXCLAMATION);
}

void CCaptureWorkflow::Finish()
{
    HWND window = m_host.CaptureWindow();
    // Hidden with no way back for the user, the window would be lost.
    if (!m_host.CanBeRecalled() && !IsWindowVisible(window))
        ShowWindow(window, SW_SHOW);
    m_bRunning = false;
    m_dwEnd = GetTickCount() + 1;
    m_host.CaptureEnded();
}

// The last region is cut from a full-screen picture: the engine takes no rectangle of
// its own, and the one picture of the whole screen is also what shows where the screen
// now lies.
HBITMAP CCaptureWorkflow::Take(int mode, bool& offScreen)
{
    if (mode == kFullScreenCall)
        return g_captureEngine.CaptureFullScreen();
    if (mode == kLastRegionCall) {
        const CBitmapOwner screen(g_captureEngine.CaptureFullScreen());
        return screen ? CutLastRegion(screen.get(), offScreen) : nullptr;
    }
    HBITMAP bitmap = g_captureEngine.CaptureModal(mode);
    if (bitmap && CCaptureEngine::ResolveMode(mode) == kModeRegion)
        KeepLastRegion(bitmap);
    return bitmap;
}

// Requests wait in the queue while a capture runs when a held hotkey repeats or an
// impatient user presses again while the window is away.
bool CCaptureWorkflow::IsStaleRequest(const MSG& msg) const
{
    const UINT command = LOWORD(msg.wParam);
    const bool captureCommand =
        (command >= ID_CAPTURE_FULLSCREEN && command <= ID_CAPTURE_OBJECT) || command == ID_CAPTURE_LAST_REGION;
    const bool request = msg.message == WM_HOTKEY || (msg.message == WM_COMMAND && captureCommand);
    // Unsigned differences: right across the wrap of the tick count.
    return request && msg.hwnd == m_host.CaptureWindow() && msg.time - m_dwStart < m_dwEnd - m_dwStart;
}

void CCaptureWorkflow::Hide(bool pinsHidden)
{
    if (!g_settings.m_bHideMainWindow && !pinsHidden)
        return;
    if (g_settings.m_bHideMainWindow)
        ShowWindow(m_host.CaptureWindow(), SW_HIDE);
    // Gives the windows the frame uncovered time to repaint before the screen is taken.
    Sleep(std::min<DWORD>(g_settings.m_nCaptureDelay, kLongestCapturePause));
}

void CCaptureWorkflow::Accept(HBITMAP bitmap, int mode)
{
    if (!bitmap)
        return;
    ++g_nCaptureCount;
    // Without a sound device this fails, which changes nothing else.
    if (g_settings.m_bPlaySound)
        PlaySoundA(MAKEINTRESOURCEA(IDR_SHUTTER), GetModuleHandleA(nullptr), SND_RESOURCE | SND_SYNC);

    CaptureName name;
    const bool saved = g_settings.m_bAutoSave && AutoSaveCapture(bitmap, name);
    const bool copied = g_settings.m_bCopyAfterCapture && m_host.CopyCapture(bitmap);
    if (g_settings.m_bPinAfterCapture) {
        BITMAP info{};
        GetObjectA(bitmap, sizeof(info), &info);
        m_host.PinCapture(bitmap, FindCaptureOrigin(mode, {info.bmWidth, info.bmHeight}));
    }
    if (OpensNoDocument(saved, copied)) {
        m_host.AnnounceCapture(saved ? name : nullptr, copied);
        DeleteObject(bitmap);
    } else {
        if (!saved)
            MakeUnsavedCaptureName(name);
        if (!m_host.AdoptCapture(bitmap, name, saved))
            DeleteObject(bitmap);
    }

    if (g_settings.m_bShowAfterCapture) {
        HWND window = m_host.CaptureWindow();
        // The focus change of the hide may still be on its way (under X it is an event
        // the thread has not read while it was busy) and would take the activation away
        // from the window again; a look into the queue lets it arrive first.
        MSG pending;
        PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);
        ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(window);
    }
}
