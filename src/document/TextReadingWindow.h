#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "document/TextPicturePane.h"
#include "document/ToolWindow.h"
#include "ocr/OcrWorker.h"
#include "scoped/ScopedHandles.h"

// Opens a top-level window owned by owner (the main frame) that reads a copy of picture
// (any HBITMAP the caller keeps) with engine on a worker thread and shows the text; it is
// placed beside `beside` (screen rectangle where the picture or selection shows) on that
// rectangle's monitor. The window frees itself when closed. Null when it could not be made
// (the reason is the last error).
HWND OpenTextReadingWindow(COcrEngine& engine, HWND owner, HBITMAP picture, const RECT& beside);

// The picture with the recognised lines outlined, the text in an edit box the user may
// correct, and a bar with the status, the progress and the buttons. Closing it while it
// reads cancels the reading and hides it at once; it goes when the worker has stopped.
class CTextReadingWindow : public CToolWindow {
public:
    explicit CTextReadingWindow(COcrEngine& engine) : m_engine(engine) {}

    // Makes and shows the window, which from then on deletes this object when it goes; on
    // failure the window, if made, is gone and the object the caller's.
    bool Create(HWND owner, HBITMAP picture, const RECT& beside);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDpiApplied() override;
    SIZE LeastSize() const override { return SIZE{480, 240}; }

private:
    bool CreateControls(CBitmapOwner copy);
    void LayOut();
    void StartReading(const DWORD* pixels);
    void OnWorker(WPARAM event, LPARAM percent);
    void ShowResult(const SOcrResult& result);
    void SetStatus(const std::string& text, bool error);
    void SelectTextLine(int line);
    void FollowCaret();
    void CopyAll();
    void Close();
    LRESULT OnColorStatic(HDC dc, HWND control);

    COcrEngine& m_engine;
    std::unique_ptr<COcrWorker> m_worker;
    CTextPicturePane m_pane;
    HWND m_hText = nullptr, m_hStatus = nullptr, m_hProgress = nullptr;
    SIZE m_pictureSize{};
    size_t m_nLines = 0;
    bool m_bReading = false;
    bool m_bClosing = false;
    bool m_bError = false;
};
