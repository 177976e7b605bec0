#pragma once
#include "annotate/AnnotationController.h"
#include "document/AnnotationTextBox.h"
#include "document/HandCursors.h"
#include "document/ImageDocument.h"
#include "document/ScrollPosition.h"
#include "ui/Window.h"

class CUpdateUI;

// The client window of an image document: shows the document's picture at a zoom
// between 10% and 3200% from the top-left corner of the scroll area, hatches
// everything outside the image, scrolls with bars, keys and wheel, and pans with a
// hand; with another annotation tool chosen, the mouse and keys mark the picture up.
// The document belongs to the document list; the view only shows and edits it.
class CImageView : public CWindow, private IAnnotationSurface {
public:
    explicit CImageView(CImageDocument& document);
    ~CImageView() override;

    HWND CreateView(HWND parent);

    // The document took a new image: it shows at 100% from its top-left corner.
    void ShowNewImage();
    // The tools shared by every document; without them the view only pans.
    void SetAnnotationTools(CAnnotationTools* tools) { m_annotations.SetTools(tools); }

    void SetContentSize(int cx, int cy, bool redraw, bool resetOffset);
    void SetZoom(float zoom);
    void ZoomToLevel(int index);
    void ZoomInOut(UINT command);
    void FitToWindow();
    void ActualSize();
    void UpdateHandCursor();

    // Ends a text being typed, so that it is a mark of the document.
    void FinishText() { m_annotations.FinishText(); }
    // The document's changes and the text being typed.
    bool HasChanges() const { return m_document.IsModified() || m_annotations.IsTyping(); }

    // Publishes the command states and status texts while this is the active document.
    void UpdateCommandUI();
    void SetUpdateUI(CUpdateUI* updateUI) { m_pUpdateUI = updateUI; }

    // The area of the picture marked by the crop frame or the rubber band, in its pixels.
    bool MarkedArea(RECT& pixels) const { return m_annotations.MarkedArea(pixels); }
    const CImageDocument& Document() const { return m_document; }
    CImageDocument& Document() { return m_document; }
    float Zoom() const { return m_fZoom; }
    int ZoomIndex() const { return m_nZoomIndex; }
    POINT ScrollOffset() const { return m_scroll.Offset(); }
    SIZE ContentSize() const { return m_scroll.Content(); }
    int HandCursor() const { return m_nHandCursor; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool OnCommand(UINT id);
    void OnPaint();
    // The hatch and the image for the client rectangle clip, into dc whose device
    // pixels are the client's shifted by -shift.
    void DrawImage(HDC dc, const RECT& clip, POINT shift);
    void OnAnnotationChanged(unsigned properties);
    // The picture or the text being typed changed: the document's window shows it.
    void OnDocumentEdited();
    void OnTextChanged();
    CanvasMapping Mapping() const override;
    void PictureEdited() override;
    void MarksChanged() override;
    void MarksChangedIn(const RECT& client) override;
    void Invalidate(const RECT* client) override { InvalidateRect(Handle(), client, FALSE); }
    void CaptureMouse() override { SetCapture(Handle()); }
    void ReleaseMouse() override { ReleaseCapture(); }
    int ScreenPixels(int pixelsAt96Dpi) const override;
    IAnnotationTextBox& TextBox() override { return m_textBox; }
    void ReportFailure(UINT messageId, DWORD error) override;
    // ScrollWindowEx by (dx, dy), and the same for the marks cache and the text box.
    void ScrollClient(int dx, int dy);
    void OnSize(int width, int height);
    bool OnSetCursor(LPARAM lParam);
    bool OnKeyDown(WPARAM key);
    void OnMouseMove(LPARAM lParam);
    void OnLButtonDown(LPARAM lParam, bool doubleClick);
    void OnLButtonUp(LPARAM lParam);
    void OnCaptureChanged();
    void OnScroll(int bar, int code);
    void OnMouseWheel(int delta);
    void ReadWheelSettings();
    void ScrollTo(int bar, int position);
    // The image follows a hand drag by (dx, dy).
    void Pan(int dx, int dy);
    void SetScrollBars(bool redraw);
    SIZE ClientSize() const;

    CImageDocument& m_document;
    CAnnotationTextBox m_textBox{*this};
    CAnnotationController m_annotations{m_document.Picture(), *this};
    CScrollPosition m_scroll;
    int m_nWheelAccum = 0;
    int m_nNotchLines = 3;
    HBRUSH m_hbrBackground;
    float m_fZoom = 1.0f;
    int m_nHandCursor = -1;
    CHandCursors m_handCursors;
    int m_bDragging = 0;
    POINT m_ptLastMouse{};
    CUpdateUI* m_pUpdateUI = nullptr;
    int m_nZoomIndex = 0;
};
