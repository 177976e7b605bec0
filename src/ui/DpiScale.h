#pragma once
#include <windows.h>

// The pixel sizes of the program's layout at the DPI a window is shown at. Every size
// in the code is given for 96 DPI and scaled from there; pictures are not scaled but
// chosen from the sizes the artwork is drawn in.
class CDpiScale {
public:
    static constexpr int kBaseDpi = 96;

    explicit CDpiScale(int dpi = kBaseDpi) : m_dpi(dpi > 0 ? dpi : kBaseDpi) {}
    // The DPI of the window's monitor where Windows tells it per window (10, version
    // 1607 on), else the screen's; a null window gives the screen's.
    static CDpiScale OfWindow(HWND window);
    // The DPI a monitor shows windows at, where Windows tells it per monitor (8.1 on);
    // else the screen's.
    static CDpiScale OfMonitor(HMONITOR monitor);

    int Dpi() const { return m_dpi; }
    // A length laid out for 96 DPI, at this DPI.
    int Scale(int pixels) const { return MulDiv(pixels, m_dpi, kBaseDpi); }
    // A length the system gives at the screen's DPI (its fonts and metrics), at this
    // DPI; the same length when the window is on a monitor of the screen's DPI.
    int ScaleFromScreen(int pixels) const;

    // The drawn picture sizes, as widths of the 16-pixel pictures: 16, 24 and 32.
    enum class PictureSize { Small = 0, Medium = 1, Large = 2 };
    // The largest drawn size that is not larger than the 16-pixel picture scaled:
    // 16 up to 143 DPI, 24 from 144 (150%), 32 from 192 (200%).
    PictureSize Pictures() const;
    // That size applied to a length of the 16-pixel pictures (16 x 15 gives 24 x 22 and 32 x 30).
    int PictureLength(int smallLength) const;

private:
    int m_dpi;
};
