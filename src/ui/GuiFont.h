#pragma once
#include <windows.h>

#include "scoped/ScopedHandles.h"
#include "ui/DpiScale.h"

// A font the system gives at the screen's DPI, at a window's DPI: the font itself at
// the screen's DPI, a font of its own, the same face scaled, on a monitor of another.
// The font is the system's GUI font (DEFAULT_GUI_FONT), or the one a control was
// created with when the font follows that control.
class CGuiFont {
public:
    // From now on the font is the one control has now, and each SetDpi shows the
    // font at the new DPI in it.
    void Follow(HWND control);
    void SetDpi(const CDpiScale& dpi);
    HFONT Handle() const;

private:
    HWND m_hControl = nullptr;
    HFONT m_hScreenFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    CFontOwner m_followedFont; // the followed control's font at the screen's DPI
    CFontOwner m_scaled;
};
