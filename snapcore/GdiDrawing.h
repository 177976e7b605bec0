// Small drawing helpers that the capture code shares.
#ifndef SNAPCORE_GDIDRAWING_H
#define SNAPCORE_GDIDRAWING_H

#include <windows.h>
#include <cstdint>

namespace snapcore {

inline LONG Width(const RECT& r) { return r.right - r.left; }
inline LONG Height(const RECT& r) { return r.bottom - r.top; }
inline RECT Inflated(RECT r, int by)
{
    InflateRect(&r, by, by);
    return r;
}

// A new top-down 32-bit DIB section of the given size, whatever the display's depth,
// so that a palette display never hands the caller an image it cannot save; it is the
// layout the program keeps every picture in, so a capture becomes a document as it is.
// bits, when given, receives the address of its pixels (0x00RRGGBB, pixel (x, y) at
// y * width + x).
HBITMAP CreateCanvas(HDC dc, SIZE size, uint32_t** bits = nullptr);

// Fills rect with a colour through the DC brush, so no brush has to be made.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);

// The four strips of the given thickness along the inside edges of outer.
void RingStrips(const RECT& outer, int thickness, RECT strips[4]);

// Fills those four strips with a colour.
void FillRing(HDC dc, const RECT& outer, int thickness, COLORREF colour);

} // namespace snapcore

#endif
