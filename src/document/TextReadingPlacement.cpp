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
    const long least = dpi.Scale(L::kLeastPicture);
    const double fullScale = std::min({1.0, workWidth / 2.0 / std::max(1L, pictureSize.cx),
                                       static_cast<double>(workHeight - belowPicture) / std::max(1L, pictureSize.cy)});
    long width = 0, height = 0;
    const auto sizeAt = [&](double scale) {
        width = std::min(workWidth, besidePicture + std::max(least, static_cast<long>(pictureSize.cx * scale)));
        height = std::min(workHeight, belowPicture + std::max(least, static_cast<long>(pictureSize.cy * scale)));
    };
    sizeAt(fullScale);

    const long gap = dpi.Scale(L::kGap);
    const long roomRight = work.right - beside.right - gap, roomLeft = beside.left - gap - work.left;
    const long room = std::max(roomRight, roomLeft);
    long x = 0, y = Clamp(beside.top, height, work.top, work.bottom);
    if (width <= roomRight) {
        x = beside.right + gap;
    } else if (width <= roomLeft) {
        x = beside.left - gap - width;
    } else if (beside.bottom + gap + height <= work.bottom) {
        x = Clamp(beside.left, width, work.left, work.right);
        y = beside.bottom + gap;
    } else if (room >= besidePicture + least) {
        // Beside it still, with the picture as small as the room asks: the window's own copy
        // shows the lines, and what was read stays in sight.
        sizeAt(std::min(fullScale, static_cast<double>(room - besidePicture) / std::max(1L, pictureSize.cx)));
        y = Clamp(beside.top, height, work.top, work.bottom);
        x = roomRight >= roomLeft ? beside.right + gap : beside.left - gap - width;
    } else {
        x = Clamp(std::min(beside.right, work.right) - width, width, work.left, work.right);
    }
    return RECT{x, y, x + width, y + height};
}
