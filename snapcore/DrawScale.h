// The engine's own decoration (the magnifier, the skins, the overlay's marks and
// labels) is laid out in pixels for 96 DPI and drawn at the screen's DPI. Captured
// pixels are never scaled.
#ifndef SNAPCORE_DRAWSCALE_H
#define SNAPCORE_DRAWSCALE_H

#include <windows.h>

namespace snapcore {

class CDrawScale {
public:
    static constexpr int kBaseDpi = 96;

    explicit CDrawScale(int dpi) : m_dpi(dpi > 0 ? dpi : kBaseDpi) {}
    // The DPI of the screen DC, which is the program's for its whole life.
    static CDrawScale OfScreen();

    int Dpi() const { return m_dpi; }
    // A length laid out for 96 DPI, at this DPI.
    int Scale(int pixels) const { return MulDiv(pixels, m_dpi, kBaseDpi); }

private:
    int m_dpi;
};

} // namespace snapcore

#endif
