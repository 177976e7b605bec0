#include "document/ViewArithmetic.h"

#include <cstdlib>

// The horizontal ratio is kept in extended precision and the vertical one rounded
// to float before they are compared, so that equal ratios take the vertical branch.
FitResult FitZoom(int clientWidth, int clientHeight, int imageWidth, int imageHeight)
{
    const long double sx = static_cast<long double>(clientWidth) / static_cast<float>(imageWidth);
    const float sy = static_cast<float>(static_cast<double>(clientHeight) / imageHeight);
    if (sx < sy)
        return {static_cast<float>(sx), {clientWidth, static_cast<LONG>(imageHeight * sx)}};
    return {sy, {static_cast<LONG>(static_cast<float>(imageWidth) * sy), clientHeight}};
}

int ScrollTarget(int code, int position, int line, int page, int maximum, int trackPosition)
{
    switch (code) {
    case SB_LINEUP:
        return position - line > 0 ? position - line : 0;
    case SB_LINEDOWN:
        return position + line < maximum ? position + line : maximum;
    case SB_PAGEUP:
        return position - page > 0 ? position - page : 0;
    case SB_PAGEDOWN:
        return position + page < maximum ? position + page : maximum;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return trackPosition;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return maximum;
    }
    return -1;
}

int WheelSteps(int& accumulator, int delta, int notchLines)
{
    accumulator += delta;
    const int extent = notchLines == -1 ? std::abs(accumulator) : std::abs(accumulator) * notchLines;
    accumulator %= WHEEL_DELTA;
    return extent > 0 ? (extent - 1) / WHEEL_DELTA + 1 : 0;
}
