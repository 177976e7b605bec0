#pragma once
#include <windows.h>

#include <string>

#include "annotate/Annotation.h"
#include "annotate/AnnotationPainter.h"

// The box a text mark is typed in: a window in practice, over the surface's client
// area. The controller keeps which mark it is and where it lies in the image; the box
// only shows and holds the text.
class IAnnotationTextBox {
public:
    // Opens the box with its top-left at a client point, showing text in the style at
    // the zoom, and gives it the keyboard; false when it cannot be made.
    virtual bool Open(POINT client, float zoom, const AnnotationStyle& style, const std::wstring& text) = 0;
    // Closes the box and hands back what it held, lines broken by LF alone.
    virtual std::wstring Close() = 0;
    virtual bool IsOpen() const = 0;
    // True once the user changed the text the box opened with.
    virtual bool IsChanged() const = 0;
    // The view zoomed or scrolled: the box moves to the client point at the zoom's size.
    virtual void Place(POINT client, float zoom) = 0;
    // The box grows to show every line; after each change of its text.
    virtual void FitLines() = 0;

protected:
    ~IAnnotationTextBox() = default;
};

// What the annotation controller needs of the window it works in. Client points are
// the window's client coordinates; everything is called on the window's thread.
class IAnnotationSurface {
public:
    // How image pixels map onto the client area now.
    virtual CanvasMapping Mapping() const = 0;
    // After an edit, an undo or a crop: the picture may have another size, the document
    // another modified state.
    virtual void PictureEdited() = 0;
    // The marks that stay put changed (an edit, or marks taken up by a drag or the text
    // box): whatever was drawn of them is stale. An Invalidate follows.
    virtual void MarksChanged() = 0;
    // Only the marks in this rectangle of the client changed; a surface that keeps the
    // others drawn may keep them. An Invalidate follows.
    virtual void MarksChangedIn(const RECT& client)
    {
        (void)client;
        MarksChanged();
    }
    // This part of the client (null: all of it) must be painted again, with the marks
    // and what goes over them (PaintMarks and PaintLive of the controller).
    virtual void Invalidate(const RECT* client) = 0;
    // A drag began: the pointer's moves and its button-up must reach the controller
    // wherever the pointer goes, until ReleaseMouse.
    virtual void CaptureMouse() = 0;
    // The drag is over. The controller has already left it, so the surface may call
    // OnCaptureLost from here without effect.
    virtual void ReleaseMouse() = 0;
    // A length in screen pixels given for 96 DPI, at the DPI the surface shows at.
    virtual int ScreenPixels(int pixelsAt96Dpi) const = 0;
    // The surface's one text box.
    virtual IAnnotationTextBox& TextBox() = 0;
    // An edit the user asked for failed (messageId: the message's string, e.g.
    // IDS_CROP_FAILED, whose %s takes the reason for error); the surface shows it.
    virtual void ReportFailure(UINT messageId, DWORD error) = 0;

protected:
    ~IAnnotationSurface() = default;
};
