#pragma once
#include <windows.h>

#include <string>

#include "annotate/AnnotatedImage.h"
#include "capture/desk/CaptureDesk.h"
#include "capture/desk/DeskSelection.h"
#include "capture/desk/DeskSurface.h"
#include "capture/desk/DeskToolBar.h"
#include "annotate/AnnotationController.h"
#include "ui/Window.h"

// The frozen frame shown again where it was taken, topmost over the virtual screen, with
// everything outside the selection dimmed by drawing (the frame is the only full-size
// copy). The selection can be resized and moved until the first mark is drawn; then the
// annotation controller draws over a picture of the selection's pixels. Prepare it (its
// windows made, hidden) before the capture, Show it with the frame, then Run until the
// user leaves. Shown with a picture instead, it covers one monitor and the picture is the
// fixed selection, scrolled with the wheel when taller than the monitor.
class CDeskWindow : public CWindow {
public:
    CDeskWindow(CAnnotationTools& tools, const CSettings& settings);
    ~CDeskWindow() override;

    // Makes the desk and its toolbar hidden, the toolbar laid out for the monitor under the
    // pointer; false when the desk cannot be made.
    bool Prepare();
    // Shows the frame (frameOrigin: its top-left on the screen) with the selection (screen
    // coordinates) drawn, and takes the keyboard; prepares first when that was not done.
    // false when the window cannot be made. frame is the caller's and must outlive the desk;
    // it is read in place, so it is a top-down DIB section of 32 bits a pixel (false for a
    // bitmap that is not a DIB section of 32 bits).
    bool Show(HBITMAP frame, POINT frameOrigin, const RECT& selection);
    // Shows a picture taken elsewhere at 100% from place's top-left (screen coordinates), on
    // the monitor that shows most of place, kept on it where it fits; the rest of the monitor
    // darkened. The same kind of bitmap as Show's frame, also the caller's.
    bool ShowPicture(HBITMAP picture, const RECT& place);
    // Runs the desk's messages until the user leaves, and hands back what was chosen.
    DeskResult Run();

    // The selection in the window's pixels (the frame's too, unless a picture scrolls).
    const RECT& Selection() const { return m_selection.Rect(); }
    // The bytes of pixels the desk holds besides the caller's frame.
    size_t PictureBytes() const;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void PaintSelection(HDC dc, const RECT& part) const;
    void PaintDimmed(HDC dc, const RECT& clip) const;
    void PaintDimmedPart(HDC dc, const RECT& part) const;
    void PaintDecor(HDC dc) const;
    void OnKeyDown(WPARAM key);
    void OnButtonDown(POINT point, bool doubleClick);
    void OnMouseMove(POINT point);
    void OnButtonUp(POINT point);
    void OnRightButtonUp();
    bool OnSetCursor();
    void OnMouseWheel(int delta);
    // Scrolls a picture taller than the desk by rows (down when positive), within its ends.
    void ScrollPicture(int rows);
    // Reads the frame's size and makes the windows; false for a bitmap that is not a DIB
    // section of 32 bits, or a desk that cannot be made.
    bool UseFrame(HBITMAP frame);
    // Shows the frame with the selection (both in the window's pixels, placed already).
    bool ShowDesk(HBITMAP frame, const RECT& selection, const RECT& bounds);
    // A rectangle of the window's pixels in the frame's.
    RECT InFrame(const RECT& client) const;
    void OnCommand(UINT id);
    void OnEdited();
    // The toolbar beside the selection, clear of the marks, and showing the tools' state.
    void PlaceToolBar();
    void UpdateToolBar();
    void ChooseTool(AnnotationTool tool);
    void TakeKeyboard();
    // Ends a drag of a mark or of the selection, or the text being typed; false when
    // nothing was in progress.
    bool EndWorkInProgress();
    bool IsWorkInProgress();
    // The modifier keys held now, as the controller takes them.
    static unsigned HeldKeys();
    bool IsDrawingTool() const;
    // The selection of a frame can change until the first mark is drawn; a picture's never.
    bool IsFixed() const { return m_bPicture || m_picture.CanUndo() || m_picture.CanRedo(); }
    void SelectionChanged(const RECT& before);
    // The picture of the selection's pixels that the controller marks up, made anew for
    // a selection that changed.
    void PreparePicture();
    // What the desk hands back for action: nothing for a cancel.
    DeskResult TakeResult(DeskAction action);
    void Save();
    void Finish(DeskAction action);

    int HandleSize() const;
    RECT LabelRect(const RECT& selection) const;
    std::wstring LabelText(const RECT& selection) const;
    // Whatever the selection draws besides the pixels: border, handles and size label.
    void InvalidateDecor(const RECT& selection);

    HBITMAP m_hFrame = nullptr;
    const DWORD* m_pFramePixels = nullptr;  // the frame's, read in place
    SIZE m_frameSize{};
    POINT m_ptDeskOrigin{};  // the window's top-left on the screen
    SIZE m_deskSize{};
    POINT m_ptFrameShift{};  // where the frame's top-left shows in the window
    bool m_bPicture = false;
    int m_nScroll = 0;  // rows of a tall picture above the window's top
    int m_nScrollMax = 0;
    CAnnotationTools& m_tools;
    const CSettings& m_settings;
    AnnotationTool m_previousTool;
    bool m_bShown = false;
    CDeskSelection m_selection{RECT{}, RECT{}};
    CAnnotatedImage m_picture;
    RECT m_rcPicture{};
    CDeskSurface m_surface{*this, [this] { OnEdited(); }};
    CAnnotationController m_controller{m_picture, m_surface};
    CDeskToolBar m_toolBar{m_tools};
    DWORD m_dwShownAt = 0;
    bool m_bDone = false;
    DeskResult m_result;
};
