#pragma once
#include <windows.h>

#include "scoped/ScopedHandles.h"
#include "ui/DpiScale.h"

// The system's GUI font (DEFAULT_GUI_FONT) at a window's DPI: the stock font itself at
// the screen's DPI, a font of its own, the same face scaled, on a monitor of another.
class CGuiFont {
public:
    void SetDpi(const CDpiScale& dpi);
    HFONT Handle() const;

private:
    CFontOwner m_scaled;
};
