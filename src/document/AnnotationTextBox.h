#pragma once
#include <windows.h>

#include <string>

#include "annotate/Annotation.h"
#include "scoped/ScopedHandles.h"

// The edit box in which a text mark is typed (Chinese through the IME as well): a
// Unicode multi-line edit control over the view, in the mark's font at the zoom.
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

    // True for the box of any view: what is typed there is the box's own.
    static bool IsTextBox(HWND window);

private:
    HWND m_hWnd = nullptr;
    CFontOwner m_hFont;
    int m_nIndex = -1;
    ImagePoint m_origin;
    AnnotationStyle m_style;
};
