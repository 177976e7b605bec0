#include "app/FrameCapture.h"

#include <cstdio>
#include <cstring>

#include <commctrl.h>

#include "app/AppMessages.h"
#include "app/DocumentTabs.h"
#include "app/PinBoard.h"
#include "app/TextReader.h"
#include "app/TrayIcon.h"
#include "document/ImageClipboard.h"
#include "res/resource.h"
#include "settings/Settings.h"
#include "ui/UpdateUI.h"
#include "ui/Window.h"
#include "util/AppMessageBox.h"
#include "util/FastString.h"

namespace {
// The delay commands in menu order, with their seconds.
const UINT kCountdownCommands[] = {ID_CAPTURE_DELAY_NONE, ID_CAPTURE_DELAY_3, ID_CAPTURE_DELAY_5, ID_CAPTURE_DELAY_10};
const int32_t kCountdownSeconds[] = {0, 3, 5, 10};
}  // namespace

CFrameCapture::CFrameCapture(const CWindow& frame, CDocumentTabs& documents, CPinBoard& pins,
                             CTextReader& textReader, CTrayIcon& trayIcon, CAnnotationTools& tools)
    : m_frame(frame), m_documents(documents), m_pins(pins), m_textReader(textReader), m_trayIcon(trayIcon),
      m_tools(tools)
{
}

void CFrameCapture::InitCommandStates() const
{
    g_updateUI.CheckCommand(ID_CAPTURE_INCLUDE_CURSOR, g_settings.m_bIncludeCursor != 0);
    g_updateUI.EnableCommand(ID_TRAY_CANCEL_DELAY, false);
    g_updateUI.EnableCommand(ID_CAPTURE_LAST_REGION, g_settings.m_bHasLastRegion != 0);
}

bool CFrameCapture::OnCommand(UINT command)
{
    switch (command) {
    case ID_CAPTURE_FULLSCREEN:
        m_workflow.Run(CCaptureWorkflow::kFullScreenCall);
        return true;
    case ID_CAPTURE_WINDOW:
    case ID_CAPTURE_REGION:
    case ID_CAPTURE_OBJECT:
        m_workflow.Run(command - ID_CAPTURE_FULLSCREEN);
        return true;
    case ID_CAPTURE_LAST_REGION:
        m_workflow.Run(CCaptureWorkflow::kLastRegionCall);
        return true;
    case ID_CAPTURE_MARKUP:
        m_workflow.Run(CCaptureWorkflow::kMarkupCall);
        return true;
    case ID_CAPTURE_LONGSHOT:
        m_workflow.Run(CCaptureWorkflow::kLongshotCall);
        return true;
    case ID_CAPTURE_RECORD_GIF:
        m_workflow.Run(CCaptureWorkflow::kRecordCall);
        return true;
    case ID_CAPTURE_INCLUDE_CURSOR:
        ToggleIncludeCursor();
        return true;
    case ID_CAPTURE_DELAY_NONE:
    case ID_CAPTURE_DELAY_3:
    case ID_CAPTURE_DELAY_5:
    case ID_CAPTURE_DELAY_10:
        ChooseCountdown(command);
        return true;
    case ID_TRAY_CANCEL_DELAY:
        m_workflow.CancelCountdown();
        return true;
    }
    return false;
}

void CFrameCapture::ToggleIncludeCursor()
{
    g_settings.m_bIncludeCursor = !g_settings.m_bIncludeCursor;
    g_updateUI.CheckCommand(ID_CAPTURE_INCLUDE_CURSOR, g_settings.m_bIncludeCursor != 0);
    g_settings.m_bModified = 1;
}

// The same choice as the 更多 page's, kept with the other options.
void CFrameCapture::ChooseCountdown(UINT command)
{
    for (size_t i = 0; i < sizeof kCountdownCommands / sizeof kCountdownCommands[0]; ++i)
        if (kCountdownCommands[i] == command && g_settings.m_nCountdownSeconds != kCountdownSeconds[i]) {
            g_settings.m_nCountdownSeconds = kCountdownSeconds[i];
            g_settings.m_bModified = 1;
        }
}

void CFrameCapture::CheckCountdownItem(HMENU popup) const
{
    if (GetMenuState(popup, ID_CAPTURE_DELAY_NONE, MF_BYCOMMAND) == static_cast<UINT>(-1))
        return;
    for (size_t i = 0; i < sizeof kCountdownCommands / sizeof kCountdownCommands[0]; ++i)
        if (kCountdownSeconds[i] == g_settings.m_nCountdownSeconds)
            CheckMenuRadioItem(popup, ID_CAPTURE_DELAY_NONE, ID_CAPTURE_DELAY_10, kCountdownCommands[i], MF_BYCOMMAND);
}

HWND CFrameCapture::CaptureWindow() const
{
    return m_frame.Handle();
}

bool CFrameCapture::CanBeRecalled() const
{
    return m_trayIcon.IsAdded();
}

bool CFrameCapture::AdoptCapture(CBitmapOwner bitmap, const char* name, bool saved, std::vector<Annotation> marks)
{
    return m_documents.CreateImageDocument(std::move(bitmap), name, saved, std::move(marks));
}

bool CFrameCapture::CopyCapture(HBITMAP bitmap)
{
    return CopyImageOrReport(bitmap, m_frame.Handle());
}

void CFrameCapture::ShowCountdown(int secondsLeft)
{
    if (secondsLeft <= 0) {
        m_trayIcon.SetTip(nullptr);
        return;
    }
    Vorn::CFastString<64> format;
    format.LoadString(IDS_COUNTDOWN_TIP);
    char tip[64];
    std::snprintf(tip, sizeof tip, format.GetString(), secondsLeft);
    m_trayIcon.SetTip(tip);
}

void CFrameCapture::AnnounceCapture(const char* savedPath, bool copied)
{
    char text[256] = "";
    if (savedPath) {
        Vorn::CFastString<64> savedAs;
        savedAs.LoadString(IDS_CAPTURE_SAVED_AS);
        std::snprintf(text, sizeof(text), savedAs.GetString(), savedPath);
    }
    if (copied) {
        Vorn::CFastString<64> onClipboard;
        onClipboard.LoadString(IDS_CAPTURE_COPIED);
        const size_t length = std::strlen(text);
        std::snprintf(text + length, sizeof(text) - length, "%s%s", length ? "\n" : "", onClipboard.GetString());
    }
    m_trayIcon.ShowBalloon(text);
}

void CFrameCapture::AnnounceCountdownRefused()
{
    Vorn::CFastString<128> text;
    text.LoadString(IDS_COUNTDOWN_REFUSED);
    m_trayIcon.ShowBalloon(text.GetString());
}

// The first pane, where menu help shows too: the next help replaces it.
void CFrameCapture::ShowCaptureStatus(const char* text)
{
    const HWND statusBar = GetDlgItem(m_frame.Handle(), ID_VIEW_STATUS_BAR);
    if (statusBar)
        SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

bool CFrameCapture::PinCapture(HBITMAP bitmap, POINT origin)
{
    if (m_pins.Pin(bitmap, origin))
        return true;
    AppMessageBox(m_frame.Handle(), IDS_PIN_NO_MEMORY, MB_ICONHAND | MB_OK);
    return false;
}

bool CFrameCapture::HidePins()
{
    return m_pins.HideAll();
}

void CFrameCapture::ShowPins()
{
    m_pins.ShowAll();
}

void CFrameCapture::ReadText(HBITMAP picture, const RECT& place)
{
    m_textReader.Read(picture, place, m_frame.Handle());
}

void CFrameCapture::ShowRecording(const SRecordingFiles& files, const RECT& place)
{
    ShowGifPlayback(m_frame.Handle(), files, place);
}

// Files a later start handed over while the frame was away open now.
void CFrameCapture::OnCaptureEnded()
{
    PostMessageA(m_frame.Handle(), WM_APP_OPEN_HANDED_FILES, 0, 0);
}
