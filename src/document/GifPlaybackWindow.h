#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "imageio/GifAnimation.h"
#include "document/ToolWindow.h"
#include "scoped/ScopedHandles.h"

struct SRecordingFiles {
    std::string temporary;  // the recording, the window's own file: removed when it closes,
                            // unless the clipboard still holds it as a file drop
    std::string saveName;   // the proposed Save As path: the auto-save folder and name, .gif
    std::string autoSaved;  // the auto-saved copy, empty when none
};

// Opens the window owned by owner, near place (screen, the recorded region), playing the file
// in a loop; false with a message already shown when the file cannot be played (the temporary
// is then removed). The window lives on its own (deletes itself when destroyed).
bool ShowGifPlayback(HWND owner, const SRecordingFiles& files, const RECT& place);

// A recording played in a loop at its own pace, scaled down to fit, with what it is (bytes,
// frames, seconds) and the buttons that save a copy, copy it as a file, or discard it.
class CGifPlaybackWindow : public CToolWindow {
public:
    explicit CGifPlaybackWindow(const SRecordingFiles& files) : m_files(files) {}

    // Opens the recording and makes and shows the window, which from then on deletes this
    // object when it goes; false with the reason as the last error.
    bool Create(HWND owner, const RECT& place);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDpiApplied() override { LayOut(); }
    SIZE LeastSize() const override;

private:
    bool CreateControls();
    SIZE ClientSizeFor(const RECT& workArea) const;
    void LayOut();
    RECT PictureRect() const;
    void ShowNextFrame();
    void ScheduleFrame();
    void OnPaint();
    void Save();
    void Copy();
    void SetStatus(const std::string& text);
    void OnDestroy();

    SRecordingFiles m_files;
    std::string m_savedPath;
    std::string m_copiedPath;     // the file last put on the clipboard by this window
    DWORD m_copiedSequence = 0;   // the clipboard's sequence number right after that
    CGifAnimation m_animation;
    CBitmapOwner m_canvas;
    uint32_t* m_pixels = nullptr;
    int m_frame = 0;
    HWND m_hInfo = nullptr, m_hStatus = nullptr;
};
