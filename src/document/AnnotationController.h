#pragma once
#include <windows.h>

#include <vector>

#include "annotate/AnnotatedImage.h"
#include "annotate/AnnotationPainter.h"
#include "annotate/AnnotationTools.h"
#include "document/AnnotationTextBox.h"

// What the controller needs of the view it works in.
class IAnnotationSurface {
public:
    // How image pixels map onto the view's client area now.
    virtual CanvasMapping Mapping() const = 0;
    // After an edit or an undo: the picture may have another size, the document
    // another modified state.
    virtual void PictureEdited() = 0;
    // The marks that stay put changed (an edit, or marks taken up by a drag or the
    // text box): whatever was drawn of them is stale.
    virtual void MarksChanged() = 0;
    // Only the marks in this rectangle of the client changed; a surface that keeps the
    // others drawn may keep them.
    virtual void MarksChangedIn(const RECT& client)
    {
        (void)client;
        MarksChanged();
    }
    virtual HWND Window() const = 0;

protected:
    ~IAnnotationSurface() = default;
};

// Turns the mouse and keys over an image view into edits of its picture, for every
// tool but the hand, and draws what is being done: the mark being drawn, the
// selection with its handles, the rubber band and the crop frame.
class CAnnotationController {
public:
    CAnnotationController(CAnnotatedImage& picture, IAnnotationSurface& surface)
        : m_picture(picture), m_surface(surface)
    {
    }

    void SetTools(CAnnotationTools* tools) { m_pTools = tools; }
    // True when the left button is the tool's: not the hand, and Space is not held.
    bool HandlesMouse() const;
    bool IsDragging() const { return m_drag != Drag::kNone; }

    void OnButtonDown(POINT client, bool shift, bool doubleClick);
    void OnMouseMove(POINT client, bool shift);
    void OnButtonUp(POINT client, bool shift);
    void OnCaptureLost();
    // The keys of the tools and of the selection; true when the key was used.
    bool OnKeyDown(WPARAM key);
    void OnKeyUp(WPARAM key);
    HCURSOR Cursor(POINT client) const;

    // Draw over the image already in dc, whose device pixels are the client's shifted
    // by -shift: the marks that stay put, which a cache may keep, and on top of them
    // what is being done (marks being drawn, moved or resized, the selection with its
    // handles, the rubber band, the crop frame).
    void PaintMarks(HDC dc, const RECT& clip, POINT shift) const;
    void PaintLive(HDC dc, const RECT& clip, POINT shift) const;
    // True when there is anything to draw over the image.
    bool HasOverlay() const;

    void ToolChanged();
    // The tools' new properties for the selected marks, as one edit.
    void ApplyProperties(unsigned properties);
    void Undo();
    void Redo();
    // Ends a text being typed, keeping it.
    void FinishText();
    // True while the text being typed differs from what its box opened with.
    bool IsTyping() const { return m_textBox.IsChanged(); }
    // The text box grows with its lines, and follows a zoom or a scroll of the view.
    void TextChanged() { m_textBox.FitLines(); }
    void ViewMoved();
    HBRUSH TextBoxColours(HDC dc) const { return m_textBox.PaintColours(dc); }
    // A Space held while the focus left is released elsewhere.
    void OnFocusLost() { m_bSpaceHeld = false; }

private:
    enum class Drag { kNone, kDrawing, kMoving, kResizing, kBand, kCropping };

    ImagePoint ToImage(POINT client) const;
    POINT ToClient(ImagePoint point) const;
    // A length in screen pixels given for 96 DPI, at the view's DPI.
    int ScreenPixels(int pixels) const;
    AnnotationTool Tool() const;
    void BeginSelectDrag(POINT client, ImagePoint at, bool shift, bool doubleClick);
    void PlaceText(ImagePoint at, int index);
    int HandleAt(POINT client) const;
    // The marks as they show now: with the ones being moved or resized in their new place.
    std::vector<Annotation> ShownObjects() const;
    // The marks that stay put: all but the one in the text box and those being dragged.
    std::vector<Annotation> StillObjects() const;
    bool IsLive(size_t index) const;
    CanvasMapping DeviceMapping(POINT shift) const;
    RECT MarksClip(const RECT& clip, POINT shift) const;
    void Commit(CAnnotationEdit edit);
    void MoveSelection(float dx, float dy);
    void DeleteSelection();
    void CropToFrame();
    // The marks that stay put changed: whatever was drawn of them is stale.
    void Redraw() const;
    // Only what goes over them changed (the selection, the band, the crop frame).
    void RedrawOverlay() const;
    // After an edit, an undo or a redo: only the marks it touched are drawn again.
    void RedrawChange() const;
    void RedrawArea(const ImageRect& box, float width) const;
    // The box of the selected marks as they show, and the widest of their lines.
    ImageRect SelectionBox() const;
    float SelectionWidth() const;

    CAnnotatedImage& m_picture;
    IAnnotationSurface& m_surface;
    CAnnotationTools* m_pTools = nullptr;
    bool m_bSpaceHeld = false;

    std::vector<size_t> m_selection;
    Drag m_drag = Drag::kNone;
    ImagePoint m_dragStart;
    ImagePoint m_dragNow;
    int m_nHandle = -1;
    int m_nPressedAmongSelected = -1;
    Annotation m_draft;
    bool m_bHasCropFrame = false;
    ImageRect m_cropFrame;
    CAnnotationTextBox m_textBox;
};
