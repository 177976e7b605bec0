#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CFileOpener;

// The frame's side of a second start: it takes the files handed over in WM_COPYDATA,
// brings the frame (or its modal window) to the front, out of the tray too, and opens
// the files as the command line would. While a modal window of the program has the
// frame disabled they wait, and open when the frame is enabled again.
class CHandedFilesReceiver {
public:
    explicit CHandedFilesReceiver(CFileOpener& files) : m_files(files) {}

    void Attach(HWND frame) { m_hWndFrame = frame; }
    // The frame is shown and has opened its own command line; nothing opens before.
    void Start();
    // While the frame is closing a later start is refused, so that it runs by itself
    // once this copy has gone, or hands over again if the user keeps this copy open.
    void SetClosing(bool closing) { m_bRefusing = closing; }

    // WM_COPYDATA: true when the files were taken (a malformed block names none).
    bool OnCopyData(const COPYDATASTRUCT& data);
    // The frame's own posted message, and WM_ENABLE, which ends a modal window.
    void OpenWaitingFiles();

private:
    void BringFrameToFront() const;

    CFileOpener& m_files;
    HWND m_hWndFrame = nullptr;
    std::vector<std::string> m_waiting;
    bool m_bStarted = false;
    bool m_bRefusing = false;
};
