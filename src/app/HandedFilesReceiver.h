#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CCaptureWorkflow;
class CFileOpener;

// The frame's side of a second start: it takes the files handed over in WM_COPYDATA,
// brings the frame (or its modal window) to the front, out of the tray too, and opens
// the files as the command line would. While a modal window of the program has the
// frame disabled they wait, and open when the frame is enabled again; during a capture
// (its countdown and pause too) the frame stays where it is and they wait for its end.
class CHandedFilesReceiver {
public:
    CHandedFilesReceiver(CFileOpener& files, const CCaptureWorkflow& capture) : m_files(files), m_capture(capture) {}

    void Attach(HWND frame) { m_hWndFrame = frame; }
    // The frame is shown and has opened its own command line; nothing opens before.
    void Start();
    // While the frame is closing a later start is refused, so that it runs by itself
    // once this copy has gone, or hands over again if the user keeps this copy open.
    void SetClosing(bool closing) { m_bRefusing = closing; }

    // WM_COPYDATA (data may be null): true when the block was ours and its files taken.
    bool OnCopyData(const COPYDATASTRUCT* data);
    // The frame's own posted message, posted again when a modal window or a capture
    // ends: what a later start asked for meanwhile happens now.
    void OpenWaitingFiles();

private:
    void BringFrameToFront() const;

    CFileOpener& m_files;
    const CCaptureWorkflow& m_capture;
    HWND m_hWndFrame = nullptr;
    std::vector<std::string> m_waiting;
    bool m_bStarted = false;
    bool m_bRefusing = false;
    bool m_bFrontAfterCapture = false;
};
