#include "app/HandedFilesReceiver.h"

#include "app/AppMessages.h"
#include "app/FileOpener.h"
#include "app/HandedFiles.h"
#include "capture/CaptureWorkflow.h"

void CHandedFilesReceiver::Start()
{
    m_bStarted = true;
    OpenWaitingFiles();
}

bool CHandedFilesReceiver::OnCopyData(const COPYDATASTRUCT* data)
{
    std::vector<std::string> files;
    if (m_bRefusing || !data || !UnpackHandedFiles(*data, files))
        return false;
    m_waiting.insert(m_waiting.end(), files.begin(), files.end());
    // The capture's overlay is in front and has the keys; the frame coming forward
    // would take them, and a message box would sit beneath the overlay.
    if (m_capture.IsRunning()) {
        m_bFrontAfterCapture = true;
        return true;
    }
    BringFrameToFront();
    // Opened after the message returns: the second start is not kept waiting, and a
    // file's failure message does not show inside the send.
    if (!m_waiting.empty())
        PostMessageA(m_hWndFrame, WM_APP_OPEN_HANDED_FILES, 0, 0);
    return true;
}

void CHandedFilesReceiver::OpenWaitingFiles()
{
    if (m_bFrontAfterCapture && !m_capture.IsRunning()) {
        m_bFrontAfterCapture = false;
        BringFrameToFront();
    }
    // A modal window disables the frame; opening under it would put documents behind it.
    if (!m_bStarted || m_bRefusing || m_waiting.empty() || !IsWindowEnabled(m_hWndFrame) || m_capture.IsRunning())
        return;
    std::vector<std::string> files;
    files.swap(m_waiting);
    m_files.OpenFiles(files);
}

void CHandedFilesReceiver::BringFrameToFront() const
{
    // A maximised frame on the screen stays maximised; a hidden or minimised one comes back.
    if (IsIconic(m_hWndFrame) || !IsWindowVisible(m_hWndFrame))
        ShowWindow(m_hWndFrame, IsIconic(m_hWndFrame) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(GetLastActivePopup(m_hWndFrame));
}
