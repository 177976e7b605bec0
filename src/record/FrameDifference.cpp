#include "record/FrameDifference.h"

namespace {
bool RowDiffers(const uint32_t* previous, const uint32_t* current, int width)
{
    for (int x = 0; x < width; ++x)
        if (previous[x] != current[x])
            return true;
    return false;
}
} // namespace

bool FindChangedRect(const uint32_t* previous, const uint32_t* current, int width, int height, RECT& rect)
{
    if (width <= 0 || height <= 0)
        return false;
    if (!previous) {
        rect = {0, 0, width, height};
        return true;
    }
    const auto row = [width](const uint32_t* pixels, int y) { return pixels + size_t(y) * width; };
    int top = 0;
    while (top < height && !RowDiffers(row(previous, top), row(current, top), width))
        ++top;
    if (top == height)
        return false;
    int bottom = height;
    while (!RowDiffers(row(previous, bottom - 1), row(current, bottom - 1), width))
        --bottom;
    // Only rows between top and bottom can widen the box, and each row needs looking at only
    // outside the columns already known to have changed.
    int left = width, right = 0;
    for (int y = top; y < bottom; ++y) {
        const uint32_t* before = row(previous, y);
        const uint32_t* now = row(current, y);
        for (int x = 0; x < left; ++x)
            if (before[x] != now[x]) {
                left = x;
                break;
            }
        for (int x = width - 1; x >= right; --x)
            if (before[x] != now[x]) {
                right = x + 1;
                break;
            }
    }
    rect = {left, top, right, bottom};
    return true;
}
