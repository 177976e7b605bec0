#include "document/WindowBeside.h"

#include <algorithm>

namespace {
// Start of a length kept within [low, high), where it fits.
LONG Clamp(LONG start, LONG length, LONG low, LONG high)
{
    return std::max(low, std::min(start, high - length));
}
}

RECT PlaceWindowBeside(const RECT& beside, SIZE size, const RECT& workArea, int gap)
{
    const RECT& work = workArea;
    LONG x = Clamp(beside.right - size.cx, size.cx, work.left, work.right);
    LONG y = Clamp(beside.top, size.cy, work.top, work.bottom);
    if (beside.right + gap + size.cx <= work.right) {
        x = beside.right + gap;
    } else if (beside.left - gap - size.cx >= work.left) {
        x = beside.left - gap - size.cx;
    } else if (beside.bottom + gap + size.cy <= work.bottom) {
        x = Clamp(beside.left, size.cx, work.left, work.right);
        y = beside.bottom + gap;
    } else if (beside.top - gap - size.cy >= work.top) {
        x = Clamp(beside.left, size.cx, work.left, work.right);
        y = beside.top - gap - size.cy;
    }
    return RECT{x, y, x + size.cx, y + size.cy};
}
