#include "app/TrayAndHotkeys.h"

#include "app/AppMessages.h"
#include "capture/CaptureWorkflow.h"
#include "res/resource.h"
#include "settings/Settings.h"

void CTrayAndHotkeys::Start(HWND frame, CCaptureWorkflow& capture)
{
    m_hWndFrame = frame;
    m_pCapture = &capture;
    g_settings.RegisterHotkeys(frame);
    m_bHotkeysLive = true;
    m_icon.Add(frame);
}

void CTrayAndHotkeys::Stop()
{
    m_icon.Remove();
    if (m_bHotkeysLive)
        g_settings.UnregisterHotkeys(m_hWndFrame);
    m_bHotkeysLive = false;
}

bool CTrayAndHotkeys::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == CTrayIcon::TaskbarCreatedMessage()) {
        m_icon.AddAgain();
        return true;
    }
    if (msg == WM_APP_TRAY_NOTIFY)
        return m_icon.OnNotify(lParam, m_menuBar);
    if (msg == WM_HOTKEY) {
        OnHotKey(wParam);
        return true;
    }
    return false;
}

void CTrayAndHotkeys::OnHotKey(WPARAM id)
{
    if (!m_pCapture)
        return;
    if (id == CSettings::kFullScreenHotkeyId)
        m_pCapture->Run(CCaptureWorkflow::kFullScreenCall);
    else if (id == CSettings::kModalHotkeyId)
        m_pCapture->Run(CCaptureWorkflow::kConfiguredMode);
    else if (id == CSettings::kLastRegionHotkeyId)
        SendMessageA(m_hWndFrame, WM_COMMAND, MAKEWPARAM(ID_CAPTURE_LAST_REGION, 0), 0);
    else if (id == CSettings::kMarkupHotkeyId)
        m_pCapture->Run(CCaptureWorkflow::kMarkupCall);
}

void CTrayAndHotkeys::OnEnable(bool enabled)
{
    if (!m_bHotkeysLive)
        return;
    if (enabled)
        g_settings.RestoreHotkeys(m_hWndFrame);
    else
        g_settings.UnregisterHotkeys(m_hWndFrame);
}

void CTrayAndHotkeys::OnMinimised()
{
    if (m_icon.IsAdded())
        ShowWindow(m_hWndFrame, SW_HIDE);
}

bool CTrayAndHotkeys::OnCommand(UINT command)
{
    if (command != ID_TRAY_SHOW && command != ID_TRAY_EXIT)
        return false;
    ShowWindow(m_hWndFrame, SW_RESTORE);
    SetForegroundWindow(m_hWndFrame);
    if (command == ID_TRAY_EXIT)
        PostMessageA(m_hWndFrame, WM_CLOSE, 0, 0);
    return true;
}
