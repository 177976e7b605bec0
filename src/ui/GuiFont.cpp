#include "ui/GuiFont.h"

// A copy, as some controls (tooltips) delete the font they had when given another. A
// control that reports no font (a status bar) draws in the system's status font.
void CGuiFont::Follow(HWND control)
{
    m_hControl = control;
    LOGFONTA font{};
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (const auto own = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)))
        GetObjectA(own, sizeof font, &font);
    else if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font = metrics.lfStatusFont;
    m_followedFont.reset(CreateFontIndirectA(&font));
    if (m_followedFont)
        m_hScreenFont = m_followedFont.get();
}

void CGuiFont::SetDpi(const CDpiScale& dpi)
{
    LOGFONTA font{};
    GetObjectA(m_hScreenFont, sizeof font, &font);
    const LONG height = dpi.ScaleFromScreen(font.lfHeight);
    // The control lets go of the font it shows before that font is deleted.
    CFontOwner previous(m_scaled.release());
    if (height != font.lfHeight) {
        font.lfHeight = height;
        font.lfWidth = 0;
        m_scaled.reset(CreateFontIndirectA(&font));
    }
    if (m_hControl)
        SendMessageA(m_hControl, WM_SETFONT, reinterpret_cast<WPARAM>(Handle()), TRUE);
}

HFONT CGuiFont::Handle() const
{
    return m_scaled ? m_scaled.get() : m_hScreenFont;
}
