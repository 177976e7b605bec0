#include "capture/CaptureWorkflow.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdio>

#include "capture/AutoSave.h"
#include "capture/CaptureEngine.h"
#include "capture/CaptureHost.h"
#include "capture/CaptureOrigin.h"
#include "capture/LastRegion.h"
#include "capture/longshot/LongshotSession.h"
#include "capture/longshot/ScrollStitcher.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"
#include "settings/Settings.h"
#include "ui/UpdateUI.h"
#include "util/AppMessageBox.h"
#include "util/FastString.h"
#include "util/SystemReason.h"

namespace {
constexpr int kModeRegion = 2;

// A pause that still answers what other programs send (a later start handing over its
// files waits only so long for an answer) and paints; posted requests and input wait
// in the queue for the capture's end, which drops the requests among them.
void WaitAnswering(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < milliseconds; elapsed = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_SENDMESSAGE | QS_PAINT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_PAINT))
            DispatchMessageA(&msg);
    }
}

// Only a capture that went everywhere it was to go stays without a document: after a
// failed auto-save, copy or pin the document is the one place where it is not lost.
bool OpensNoDocument(const CSettings& settings, bool saved, bool copied, bool pinned)
{
    return settings.m_bNoDocumentAfterCapture && (settings.m_bAutoSave || settings.m_bCopyAfterCapture)
        && saved == (settings.m_bAutoSave != 0) && copied == (settings.m_bCopyAfterCapture != 0)
        && pinned == (settings.m_bPinAfterCapture != 0);
}
}  // namespace

CCaptureWorkflow::CCaptureWorkflow(ICaptureHost& host)
    : m_host(host),
      m_countdown({[this](int secondsLeft) { m_host.ShowCountdown(secondsLeft); },
                   [this] { OnCountdownZero(); },
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
    const bool frozenOnly = mode == kMarkupCall || mode == kLongshotCall;
    if (!g_captureEngine.IsLoaded() || (frozenOnly && !g_captureEngine.CanSelectOnFrozenScreen())) {
        AppMessageBox(window, IDS_ENGINE_MISSING, MB_ICONEXCLAMATION);
        return;
    }
    m_bRunning = true;
    m_dwStart = GetMessageTime();
    m_settings = g_settings;
    // A countdown window that cannot be made is no reason to lose the capture.
    if (m_settings.m_nCountdownSeconds > 0 && StartCountdown(mode))
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
    if (m_settings.m_bHideMainWindow)
        ShowWindow(m_host.CaptureWindow(), SW_HIDE);
    if (!m_countdown.Start(m_settings.m_nCountdownSeconds))
        return false;
    m_nCountdownMode = mode;
    g_updateUI.EnableCommand(ID_TRAY_CANCEL_DELAY, true);
    m_host.ShowCountdown(m_settings.m_nCountdownSeconds);
    return true;
}

void CCaptureWorkflow::EndCountdown()
{
    g_updateUI.EnableCommand(ID_TRAY_CANCEL_DELAY, false);
    m_host.ShowCountdown(0);
}

// Zero is held to the rule a new request meets: a modal window opened while it counted
// would be hidden with its owner and land in the picture.
void CCaptureWorkflow::OnCountdownZero()
{
    EndCountdown();
    if (!IsWindowEnabled(m_host.CaptureWindow())) {
        m_host.AnnounceCountdownRefused();
        Finish();
        return;
    }
    Capture(m_nCountdownMode);
}

void CCaptureWorkflow::Capture(int mode)
{
    // The pinned images are never part of the picture.
    Hide(m_host.HidePins());
    bool offScreen = false;
    const int deskMode = DeskMode(mode);
    if (mode == kLongshotCall)
        CaptureLongshot();
    else if (deskMode != 0)
        CaptureOnDesk(deskMode);
    else  // Where the picture lies on the screen is found as for the engine's own modes.
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
    m_host.OnCaptureEnded();
}

// The last region is cut from a full-screen picture: the engine takes no rectangle of
// its own, and the one picture of the whole screen is also what shows where the screen
// now lies.
CBitmapOwner CCaptureWorkflow::Take(int mode, bool& offScreen)
{
    if (mode == kFullScreenCall)
        return CBitmapOwner(g_captureEngine.CaptureFullScreen(m_settings));
    if (mode == kLastRegionCall) {
        const CBitmapOwner screen(g_captureEngine.CaptureFullScreen(m_settings));
        return CBitmapOwner(screen ? CutLastRegion(screen.get(), m_settings.m_rcLastRegion, offScreen) : nullptr);
    }
    CBitmapOwner bitmap(g_captureEngine.CaptureModal(mode, m_settings));
    if (bitmap && CCaptureEngine::ResolveMode(mode, m_settings.m_nModalMode) == kModeRegion) {
        // Where this picture came from is where the next steps look for it.
        m_settings.m_rcLastRegion = KeepLastRegion(bitmap.get());
        m_settings.m_bHasLastRegion = 1;
    }
    return bitmap;
}

// Requests wait in the queue while a capture runs when a held hotkey repeats or an
// impatient user presses again while the window is away.
bool CCaptureWorkflow::IsStaleRequest(const MSG& msg) const
{
    const UINT command = LOWORD(msg.wParam);
    const bool captureCommand =
        (command >= ID_CAPTURE_FULLSCREEN && command <= ID_CAPTURE_OBJECT) || command == ID_CAPTURE_LAST_REGION ||
        command == ID_CAPTURE_MARKUP || command == ID_CAPTURE_LONGSHOT ||
        command == ID_CAPTURE_RECORD_GIF;
    const bool request = msg.message == WM_HOTKEY || (msg.message == WM_COMMAND && captureCommand);
    // Unsigned differences: right across the wrap of the tick count.
    return request && msg.hwnd == m_host.CaptureWindow() && msg.time - m_dwStart < m_dwEnd - m_dwStart;
}

void CCaptureWorkflow::Hide(bool pinsHidden)
{
    if (!m_settings.m_bHideMainWindow && !pinsHidden)
        return;
    if (m_settings.m_bHideMainWindow)
        ShowWindow(m_host.CaptureWindow(), SW_HIDE);
    // Gives the windows the frame uncovered time to repaint before the screen is taken.
    WaitAnswering(std::min<DWORD>(m_settings.m_nCaptureDelay, m_dwLongestPause));
}

// An engine without the frozen-screen call still takes window, region and object
// captures the usual way; only the command that has no other way is refused.
int CCaptureWorkflow::DeskMode(int mode) const
{
    if (mode == kMarkupCall)
        return CCaptureEngine::kModeAnyPart;
    if (!m_settings.m_bDeskForAllCaptures || mode == kFullScreenCall || mode == kLastRegionCall ||
        !g_captureEngine.CanSelectOnFrozenScreen())
        return 0;
    const int resolved = CCaptureEngine::ResolveMode(mode, m_settings.m_nModalMode);
    return resolved >= 1 && resolved <= 3 ? resolved : 0;
}

void CCaptureWorkflow::CaptureOnDesk(int deskMode)
{
    // Made, hidden, while nobody waits for it: once the selection ends, only what it
    // brings is left to do before the desk shows.
    CCaptureDesk desk(m_host.AnnotationTools(), m_settings);
    desk.Prepare();
    RECT chosen{};
    CBitmapOwner frame = g_captureEngine.SelectOnFrozenScreen(deskMode, m_settings, &chosen);
    if (!frame)
        return;
    SIZE origin{};
    GetBitmapDimensionEx(frame.get(), &origin);
    DeskResult result = desk.Run(frame.get(), POINT{origin.cx, origin.cy}, chosen);
    if (result.action == DeskAction::kNotShown) {
        // The selection still becomes a capture, the usual way.
        bool offScreen = false;
        CBitmapOwner part(CutLastRegion(frame.get(), chosen, offScreen));
        frame.reset();
        Accept(std::move(part), kModeRegion);
        return;
    }
    // One frozen screen at a time: it goes before the picture goes anywhere.
    frame.reset();
    if (result.action == DeskAction::kLongshot) {
        CBitmapOwner tall = TakeLongshot(result.rcSelection);
        if (tall)
            ReturnToDesk(std::move(tall), result.rcSelection);
    } else if (result.action == DeskAction::kReadText) {
        ReadTextFromDesk(std::move(result));
    } else if (result.action != DeskAction::kCancelled) {
        AcceptFromDesk(std::move(result));
    }
}

void CCaptureWorkflow::CaptureLongshot()
{
    RECT chosen{};
    CBitmapOwner frame = g_captureEngine.SelectOnFrozenScreen(CCaptureEngine::kModeAnyPart, m_settings, &chosen);
    if (!frame)
        return;
    // What is scrolled is the live screen.
    frame.reset();
    CBitmapOwner tall = TakeLongshot(chosen);
    if (!tall)
        return;
    CountCapture();
    CaptureName name;
    MakeUnsavedCaptureName(name, m_settings);
    m_host.AdoptCapture(std::move(tall), name, false);
    ShowWindowAgain();
}

CBitmapOwner CCaptureWorkflow::TakeLongshot(const RECT& selection)
{
    // A step needs rows to match and rows to move.
    constexpr int kLeastRows = 3 * CScrollStitcher::kMinOverlapRows;
    HWND window = m_host.CaptureWindow();
    char rows[16];
    if (selection.bottom - selection.top < kLeastRows) {
        std::snprintf(rows, sizeof rows, "%d", kLeastRows);
        AppMessageBox(window, IDS_LONGSHOT_TOO_SMALL, MB_ICONEXCLAMATION, rows);
        return nullptr;
    }
    LongshotResult result = RunLongshot(selection, m_settings);
    if (result.end == LongshotEnd::kFailed)
        AppMessageBox(window, IDS_LONGSHOT_FAILED, MB_ICONEXCLAMATION, SystemReason(result.error).c_str());
    if (!result.picture)
        return nullptr;
    BITMAP info{};
    GetObjectA(result.picture.get(), sizeof info, &info);
    if (result.end == LongshotEnd::kLimit) {
        std::snprintf(rows, sizeof rows, "%d", static_cast<int>(info.bmHeight));
        AppMessageBox(window, IDS_LONGSHOT_LIMIT, MB_ICONINFORMATION, rows);
    } else if (result.end == LongshotEnd::kPageEnd || result.end == LongshotEnd::kNoMatch) {
        Vorn::CFastString<256> format;
        format.LoadString(result.end == LongshotEnd::kPageEnd ? IDS_LONGSHOT_PAGE_END : IDS_LONGSHOT_ENDED_NO_MATCH);
        char text[256];
        std::snprintf(text, sizeof text, format.GetString(), static_cast<int>(info.bmHeight));
        m_host.ShowCaptureStatus(text);
    }
    return std::move(result.picture);
}

void CCaptureWorkflow::ReturnToDesk(CBitmapOwner picture, const RECT& selection)
{
    CCaptureDesk desk(m_host.AnnotationTools(), m_settings);
    desk.Prepare();
    DeskResult result = desk.RunPicture(picture.get(), selection);
    if (result.action == DeskAction::kNotShown) {
        CountCapture();
        CaptureName name;
        MakeUnsavedCaptureName(name, m_settings);
        m_host.AdoptCapture(std::move(picture), name, false);
        ShowWindowAgain();
    } else if (result.action == DeskAction::kReadText) {
        ReadTextFromDesk(std::move(result));
    } else if (result.action != DeskAction::kCancelled) {
        AcceptFromDesk(std::move(result), false);
    }
}

void CCaptureWorkflow::CountCapture()
{
    if (m_settings.m_bShowAfterCapture)
        m_keyboard.Prepare(m_host.CaptureWindow());
    ++g_nCaptureCount;
    // Without a sound device this fails, which changes nothing else.
    if (m_settings.m_bPlaySound)
        PlaySoundA(MAKEINTRESOURCEA(IDR_SHUTTER), GetModuleHandleA(nullptr), SND_RESOURCE | SND_SYNC);
}

// The desk's ways out are the user's choice of where the picture goes, so the options
// for after a capture (auto-save, copy, pin, no document) are not added to them. A
// copy or pin that fails leaves the picture as a document with its marks: the one
// place it is not lost.
void CCaptureWorkflow::AcceptFromDesk(DeskResult result, bool keepRegion)
{
    CountCapture();
    // The picture carries its place as the engine's captures do, which is what keeps
    // the region for taking it again.
    const RECT& place = result.rcSelection;
    SetBitmapDimensionEx(result.picture.get(), place.left, place.top, nullptr);
    if (keepRegion) {
        m_settings.m_rcLastRegion = KeepLastRegion(result.picture.get());
        m_settings.m_bHasLastRegion = 1;
    }

    bool delivered = result.action == DeskAction::kSaved;
    if (result.action == DeskAction::kCopy || result.action == DeskAction::kPin) {
        const CBitmapOwner flattened = FlattenDeskResult(result);
        if (!flattened)
            AppMessageBox(m_host.CaptureWindow(), IDS_DESK_FLATTEN_FAILED, MB_ICONEXCLAMATION,
                          SystemReason(GetLastError()).c_str());
        else if (result.action == DeskAction::kCopy)
            delivered = m_host.CopyCapture(flattened.get());
        else
            delivered = m_host.PinCapture(flattened.get(), POINT{place.left, place.top});
    }
    if (!delivered) {
        CaptureName name;
        MakeUnsavedCaptureName(name, m_settings);
        m_host.AdoptCapture(std::move(result.picture), name, false, std::move(result.marks));
    }
    ShowWindowAgain();
}

// Reading the text keeps no capture: the picture is read as the user sees it, marks and
// all. Without the marks drawn in, it is kept as a document instead, marks and all.
void CCaptureWorkflow::ReadTextFromDesk(DeskResult result)
{
    const CBitmapOwner flattened = FlattenDeskResult(result);
    if (!flattened) {
        AppMessageBox(m_host.CaptureWindow(), IDS_DESK_FLATTEN_FAILED, MB_ICONEXCLAMATION,
                      SystemReason(GetLastError()).c_str());
        result.action = DeskAction::kOpenAsDocument;
        AcceptFromDesk(std::move(result), false);
        return;
    }
    ShowWindowAgain();
    m_host.ReadText(flattened.get(), result.rcSelection);
}

// After the windows of the desk or the long screenshot, nothing repaints by itself the
// bars and the empty space that the hide lost.
void CCaptureWorkflow::ShowWindowAgain()
{
    if (!m_settings.m_bShowAfterCapture)
        return;
    m_keyboard.Show(m_host.CaptureWindow());
    RedrawWindow(m_host.CaptureWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CCaptureWorkflow::Accept(CBitmapOwner bitmap, int mode)
{
    if (!bitmap)
        return;
    CountCapture();

    CaptureName name;
    const bool saved = m_settings.m_bAutoSave && AutoSaveCapture(bitmap.get(), m_settings, name);
    const bool copied = m_settings.m_bCopyAfterCapture && m_host.CopyCapture(bitmap.get());
    bool pinned = false;
    if (m_settings.m_bPinAfterCapture) {
        BITMAP info{};
        GetObjectA(bitmap.get(), sizeof(info), &info);
        pinned = m_host.PinCapture(bitmap.get(), FindCaptureOrigin(mode, {info.bmWidth, info.bmHeight}, m_settings));
    }
    if (OpensNoDocument(m_settings, saved, copied, pinned)) {
        m_host.AnnounceCapture(saved ? name : nullptr, copied);
    } else {
        if (!saved)
            MakeUnsavedCaptureName(name, m_settings);
        m_host.AdoptCapture(std::move(bitmap), name, saved);
    }

    // The keyboard is the window's before the user sees it: a key typed the moment the
    // picture shows belongs to it, not to the program that had it before.
    if (m_settings.m_bShowAfterCapture)
        m_keyboard.Show(m_host.CaptureWindow());
}
