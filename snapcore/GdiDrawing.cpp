#include "GdiDrawing.h"

namespace snapcore {

HBITMAP CreateCanvas(HDC dc, SIZE size, uint32_t** bits)
{
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = size.cx;
    format.bmiHeader.biHeight = -size.cy;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits)
        *bits = static_cast<uint32_t*>(pixels);
    return bitmap;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    SetDCBrushColor(dc, colour);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void RingStrips(const RECT& outer, int thickness, RECT strips[4])
{
    strips[0] = RECT{outer.left, outer.top, outer.right, outer.top + thickness};
    strips[1] = RECT{outer.left, outer.bottom - thickness, outer.right, outer.bottom};
    strips[2] = RECT{outer.left, outer.top + thickness, outer.left + thickness, outer.bottom - thickness};
    strips[3] = RECT{outer.right - thickness, outer.top + thickness, outer.right, outer.bottom - thickness};
}

void FillRing(HDC dc, const RECT& outer, int thickness, COLORREF colour)
{
    RECT strips[4];
    RingStrips(outer, thickness, strips);
    for (const RECT& strip : strips)
        FillSolid(dc, strip, colour);
}

} // namespace snapcore
