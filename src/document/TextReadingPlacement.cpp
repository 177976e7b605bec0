#include "document/TextReadingPlacement.h"

#include <algorithm>

#include "ui/DpiScale.h"

namespace {
using L = STextReadingLayout;

// Start of a length kept within [low, high), where it fits.
long Clamp(long start, long length, long low, long high)
{
    return std::max(low, std::min(start, high - length));
}
}

RECT PlaceTextReadingWindow(const RECT& beside, SIZE pictureSize, SIZE frame, const STextReadingMonitor& monitor)
{
    const RECT& work = monitor.workArea;
    const CDpiScale dpi(monitor.dpi);
    const long workWidth = work.right - work.left, workHeight = work.bottom - work.top;

    const long besidePicture = frame.cx + dpi.Scale(2 * L::kPadding + L::kGap + L::kTextWidth);
    const long belowPicture = frame.cy + dpi.Scale(2 * L::kPadding + L::kGap + L::kBarHeight);
    const double scale = std::min({1.0, workWidth / 2.0 / std::max(1L, pictureSize.cx),
                                   static_cast<double>(workHeight - belowPicture) / std::max(1L, pictureSize.cy)});
    const long least = dpi.Scale(L::kLeastPicture);
    const long width = std::min(workWidth, besidePicture + std::max(least, static_cast<long>(pictureSize.cx * scale)));
    const long height = std::min(workHeight, belowPicture + std::max(least, static_cast<long>(pictureSize.cy * scale)));

    const long gap = dpi.Scale(L::kGap);
    long x = 0, y = Clamp(beside.top, height, work.top, work.bottom);
    if (beside.right + gap + width <= work.right) {
        x = beside.right + gap;
    } else if (beside.left - gap - width >= work.left) {
        x = beside.left - gap - width;
    } else if (beside.bottom + gap + height <= work.bottom) {
        x = Clamp(beside.left, width, work.left, work.right);
        y = beside.bottom + gap;
    } else {
        x = Clamp(std::min(beside.right, work.right) - width, width, work.left, work.right);
    }
    return RECT{x, y, x + width, y + height};
}
