#include "capture/CaptureWorkflow.h"

#include <mmsystem.h>

#include <algorithm>

#include "capture/AutoSave.h"
#include "capture/CaptureEngine.h"
#include "capture/CaptureHost.h"
#include "capture/CaptureOrigin.h"
#include "res/resource.h"
#include "settings/Settings.h"
#include "util/AppMessageBox.h"

namespace {
// However long the stored delay, the window is back within this time.
constexpr DWORD kLongestCapturePause = 10000;
}

// The interactive capture runs its own message loop, so a trigger can arrive in the
// middle of it; it is ignored rather than nested. A tray command while a modal window
// is open is ignored too.
void CCaptureWorkflow::Run(int mode)
{
    HWND window = m_host.CaptureWindow();
    if (m_bRunning || !IsWindowEnabled(window))
        return;
    // Checked before the window goes: nothing would bring it back.
    if (!g_captureEngine.IsLoaded()) {
        AppMessageBox(window, IDS_ENGINE_MISSING, MB_ICONEXCLAMATION);
        return;
    }
    m_bRunning = true;
    m_dwStart = GetMessageTime();
    // The pinned images are never part of the picture.
    Hide(m_host.HidePins());
    Accept(mode == kFullScreenCall ? g_captureEngine.CaptureFullScreen() : g_captureEngine.CaptureModal(mode),
           mode == kFullScreenCall ? 0 : mode);
    m_host.ShowPins();
    // Hidden with no way back for the user, the window would be lost.
    if (!m_host.CanBeRecalled() && !IsWindowVisible(window))
        ShowWindow(window, SW_SHOW);
    m_bRunning = false;
    m_dwEnd = GetTickCount() + 1;
}

// Requests wait in the queue while a capture runs when a held hotkey repeats or an
// impatient user presses again while the window is away.
bool CCaptureWorkflow::IsStaleRequest(const MSG& msg) const
{
    const UINT command = LOWORD(msg.wParam);
    const bool captureCommand = command >= ID_CAPTURE_FULLSCREEN && command <= ID_CAPTURE_OBJECT;
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
    if (!saved)
        MakeUnsavedCaptureName(name);
    if (g_settings.m_bPinAfterCapture) {
        BITMAP info{};
        GetObjectA(bitmap, sizeof(info), &info);
        m_host.PinCapture(bitmap, FindCaptureOrigin(mode, {info.bmWidth, info.bmHeight}));
    }
    if (!m_host.AdoptCapture(bitmap, name, saved))
        DeleteObject(bitmap);

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
