#pragma once
#include <windows.h>

#include <string>

#include "annotate/Annotation.h"
#include "annotate/AnnotationSurface.h"
#include "scoped/ScopedHandles.h"
#include "ui/Window.h"

// The edit box in which a text mark is typed (Chinese through the IME as well): a
// Unicode multi-line edit control over the view that shows the text as the mark will
// look, in its colour, font and size at the zoom, and grows with its lines. Its parent
// gets EN_CHANGE, WM_CTLCOLOREDIT (answer with PaintColours) and WM_APP_FINISH_TEXT
// when Esc or the focus leaving ends the typing.
class CAnnotationTextBox final : public IAnnotationTextBox {
public:
    // The box opens in this window's client area.
    explicit CAnnotationTextBox(const CWindow& view) : m_view(view) {}

    bool Open(POINT client, float zoom, const AnnotationStyle& style, const std::wstring& text) override;
    std::wstring Close() override;
    bool IsOpen() const override { return m_hWnd != nullptr; }
    bool IsChanged() const override;
    void Place(POINT client, float zoom) override;
    void FitLines() override;

    HWND Handle() const { return m_hWnd; }
    // The colours for WM_CTLCOLOREDIT: the mark's on white.
    HBRUSH PaintColours(HDC dc) const;

    // True for the box of any view: what is typed there is the box's own.
    static bool IsTextBox(HWND window);

private:
    void MakeFont(float zoom);

    const CWindow& m_view;
    HWND m_hWnd = nullptr;
    CFontOwner m_hFont;
    float m_fZoom = 0;
    int m_nLineHeight = 0;
    AnnotationStyle m_style;
};
