#pragma once
#include <windows.h>

#include <string>

#include "annotate/Annotation.h"
#include "scoped/ScopedHandles.h"

// The edit box in which a text mark is typed (Chinese through the IME as well): a
// Unicode multi-line edit control over the view that shows the text as the mark will
// look, in its colour, font and size at the zoom, and grows with its lines.
class CAnnotationTextBox {
public:
    // Opens the box at device point where, holding text; index is the mark being
    // edited, or -1 for a new one.
    bool Open(HWND view, POINT where, float zoom, const AnnotationStyle& style, const std::wstring& text, int index);
    // Closes the box and hands back what it held.
    std::wstring Close();
    bool IsOpen() const { return m_hWnd != nullptr; }
    HWND Handle() const { return m_hWnd; }
    int Index() const { return m_nIndex; }
    ImagePoint Origin() const { return m_origin; }
    void SetOrigin(ImagePoint origin) { m_origin = origin; }
    const AnnotationStyle& Style() const { return m_style; }
    // True once the user changed the text the box opened with.
    bool IsChanged() const;

    // The view zoomed or scrolled: the box moves to where and takes the zoom's size.
    void Place(POINT where, float zoom);
    // The height for every line, none scrolled out of sight; after each change.
    void FitLines();
    // The colours for WM_CTLCOLOREDIT: the mark's on white.
    HBRUSH PaintColours(HDC dc) const;

    // True for the box of any view: what is typed there is the box's own.
    static bool IsTextBox(HWND window);

private:
    void MakeFont(float zoom);

    HWND m_hWnd = nullptr;
    CFontOwner m_hFont;
    float m_fZoom = 0;
    int m_nLineHeight = 0;
    int m_nIndex = -1;
    ImagePoint m_origin;
    AnnotationStyle m_style;
};
