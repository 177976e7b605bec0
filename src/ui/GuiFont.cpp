#include "ui/GuiFont.h"

void CGuiFont::SetDpi(const CDpiScale& dpi)
{
    LOGFONTA font{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    const LONG height = dpi.ScaleFromScreen(font.lfHeight);
    if (height == font.lfHeight) {
        m_scaled.reset();
        return;
    }
    font.lfHeight = height;
    font.lfWidth = 0;
    m_scaled.reset(CreateFontIndirectA(&font));
}

HFONT CGuiFont::Handle() const
{
    return m_scaled ? m_scaled.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
