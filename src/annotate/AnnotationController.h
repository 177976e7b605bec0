#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "annotate/AnnotatedImage.h"
#include "annotate/AnnotationPainter.h"
#include "annotate/AnnotationSurface.h"
#include "annotate/AnnotationTools.h"

// The modifier keys held during an event, as bits; the window reads them when the
// event comes (GetKeyState, or the mouse message's MK_ flags).
enum AnnotationKeys : unsigned {
    kShiftKey = 1,
    kControlKey = 2,
    kAltKey = 4,
};

// Turns the mouse and keys over a picture into edits of it, for every tool but the
// hand, and draws what is being done: the mark being drawn, the selection with its
// handles, the rubber band and the crop frame. It works through its surface only, so
// any window that shows the picture can host it (the image view, the capture desk),
// and tests can drive it with no window at all.
//
// The host window forwards its messages:
//   WM_LBUTTONDOWN / WM_LBUTTONDBLCLK -> OnButtonDown, while HandlesMouse();
//   WM_MOUSEMOVE -> OnMouseMove and WM_LBUTTONUP -> OnButtonUp, while IsDragging();
//   WM_CAPTURECHANGED -> OnCaptureLost; WM_KILLFOCUS -> OnFocusLost;
//   WM_KEYDOWN -> OnKeyDown (its own keys only when that answers false), WM_KEYUP -> OnKeyUp;
//   WM_SETCURSOR -> Cursor; WM_PAINT -> PaintMarks then PaintLive (see HasOverlay);
//   a change of the tools -> ToolChanged, or ApplyProperties with the properties changed;
//   a scroll or zoom -> ViewMoved.
// The text box (the surface's) sends its parent, the host, EN_CHANGE (-> the box's
// FitLines), WM_CTLCOLOREDIT (its colours) and, when the typing ends,
// WM_APP_FINISH_TEXT (-> FinishText).
class CAnnotationController {
public:
    CAnnotationController(CAnnotatedImage& picture, IAnnotationSurface& surface)
        : m_picture(picture), m_surface(surface)
    {
    }

    // The tools shared by every picture; without them only the hand works.
    void SetTools(CAnnotationTools* tools) { m_pTools = tools; }
    // True when the left button is the tool's: not the hand, and Space is not held.
    bool HandlesMouse() const;
    bool IsDragging() const { return m_drag != Drag::kNone; }

    // Client points; keys: the AnnotationKeys held. Shift adds to or takes from the
    // selection, and snaps a drawing drag (squares, circles, lines at 45 degrees) and a
    // crop frame (a square). A press that starts a drag asks the surface for the mouse.
    void OnButtonDown(POINT client, unsigned keys, bool doubleClick);
    void OnMouseMove(POINT client, unsigned keys);
    void OnButtonUp(POINT client, unsigned keys);
    // The mouse went to another window in the middle of a drag: what was dragged is dropped.
    void OnCaptureLost();
    // The keys of the tools and of the selection; true when the key was used. They are
    // the tools' letters, Ctrl+A (select all), Del, the arrows (move the selection by
    // one pixel, Shift by ten), Enter (crop to the frame), Space (held: the hand) and
    // Esc (EndWorkInProgress, or with nothing in progress the hand). While the text box
    // is open it has the keys, and this answers false.
    bool OnKeyDown(WPARAM key, unsigned keys);
    void OnKeyUp(WPARAM key);
    // A Space held while the focus left is released elsewhere.
    void OnFocusLost() { m_bSpaceHeld = false; }
    // The pointer's shape over a client point, or null where the hand's applies.
    HCURSOR Cursor(POINT client) const;

    // Drops a drag in progress (the mark being drawn, a move, a resize, a rubber band,
    // a crop frame being dragged) and the crop frame; false when there was none. The
    // text box is not touched: it ends the typing itself (FinishText).
    bool EndWorkInProgress();

    // Draw over the image already in dc, whose device pixels are the client's shifted
    // by -shift: the marks that stay put, which a cache may keep, and on top of them
    // what is being done (marks being drawn, moved or resized, the selection with its
    // handles, the rubber band, the crop frame). Marks show only over the picture.
    void PaintMarks(HDC dc, const RECT& clip, POINT shift) const;
    void PaintLive(HDC dc, const RECT& clip, POINT shift) const;
    // True when there is anything to draw over the image.
    bool HasOverlay() const;
    // The area the user marks on the picture, in its pixels: the crop frame, or the
    // selection's rubber band while it is dragged; false when neither shows.
    bool MarkedArea(RECT& pixels) const;

    // The tool changed: a text being typed is kept, the crop frame goes, and with any
    // tool but the selection the selection too.
    void ToolChanged();
    // The tools' new properties for the selected marks, as one edit.
    void ApplyProperties(unsigned properties);
    void Undo();
    void Redo();
    // Ends a text being typed, keeping it: an empty box removes the mark it edited.
    void FinishText();
    // True while the text being typed differs from what its box opened with.
    bool IsTyping() const { return m_surface.TextBox().IsChanged(); }
    // The view zoomed or scrolled: the text box follows its mark.
    void ViewMoved();

private:
    enum class Drag { kNone, kDrawing, kMoving, kResizing, kBand, kCropping };

    ImagePoint ToImage(POINT client) const;
    POINT ToClient(ImagePoint point) const;
    float HitTolerance() const;
    AnnotationTool Tool() const;
    void BeginSelectDrag(POINT client, ImagePoint at, bool shift, bool doubleClick);
    void PlaceText(ImagePoint at, int index);
    int HandleAt(POINT client) const;
    // A selected mark as it shows now: in its new place while the selection is being
    // moved or resized.
    Annotation ShownObject(size_t index) const;
    // The marks that stay put: all but the one in the text box and those being dragged.
    std::vector<Annotation> StillObjects() const;
    bool IsLive(size_t index) const;
    CanvasMapping DeviceMapping(POINT shift) const;
    RECT MarksClip(const RECT& clip, POINT shift) const;
    void Commit(CAnnotationEdit edit);
    void MoveSelection(float dx, float dy);
    void DeleteSelection();
    void SelectAll();
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
    // The text in the box: the mark it edits (-1 for a new one), where and how it shows.
    int m_nTextIndex = -1;
    ImagePoint m_textOrigin;
    AnnotationStyle m_textStyle;
};
