#include "MarkedRegion.h"

#include <cmath>

#include "MessagePump.h"
#include "PixelReader.h"

namespace MarkedRegion {
namespace {
double DistanceToSegment(double x, double y, POINT a, POINT b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t = std::fmax(0, std::fmin(1, ((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy)));
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

// How far a screen point lies from the marks: their lines and the arrow's head.
double DistanceToMarks(int x, int y)
{
    const POINT corners[5] = {
        {kBox.left, kBox.top}, {kBox.right, kBox.top}, {kBox.right, kBox.bottom}, {kBox.left, kBox.bottom}, {kBox.left, kBox.top}};
    double nearest = std::hypot(x - kArrowTo.x, y - kArrowTo.y) - 16;
    for (int i = 0; i < 4; ++i)
        nearest = std::fmin(nearest, DistanceToSegment(x, y, corners[i], corners[i + 1]));
    return std::fmin(nearest, DistanceToSegment(x, y, kArrowFrom, kArrowTo));
}
}  // namespace

COLORREF QuarterAt(int x, int y)
{
    const bool right = x >= (kPlace.left + kPlace.right) / 2;
    const bool bottom = y >= (kPlace.top + kPlace.bottom) / 2;
    return kQuarters[(bottom ? 2 : 0) + (right ? 1 : 0)];
}

std::string PictureFaults(HBITMAP picture, const RECT& region, bool withMarks)
{
    BITMAP info{};
    if (!picture || !GetObjectA(picture, sizeof info, &info))
        return "no picture";
    if (info.bmWidth != region.right - region.left || info.bmHeight != region.bottom - region.top)
        return "a picture of " + std::to_string(info.bmWidth) + " x " + std::to_string(info.bmHeight);
    const CPixelReader pixels(picture);
    const auto at = [&](int x, int y) { return pixels.At(x - region.left, y - region.top); };
    for (int y = region.top; y < region.bottom; y += 3)
        for (int x = region.left; x < region.right; x += 3)
            if ((!withMarks || DistanceToMarks(x, y) > 4) && at(x, y) != QuarterAt(x, y))
                return "differs from the screen at " + std::to_string(x) + ", " + std::to_string(y);
    if (!withMarks)
        return "";
    const POINT onMarks[] = {{(kBox.left + kBox.right) / 2, kBox.top},
                             {kBox.left, (kBox.top + kBox.bottom) / 2},
                             {(kArrowFrom.x + kArrowTo.x) / 2, (kArrowFrom.y + kArrowTo.y) / 2}};
    for (const POINT& point : onMarks)
        if (at(point.x, point.y) != kMarkColour)
            return "no mark at " + std::to_string(point.x) + ", " + std::to_string(point.y);
    return "";
}

CBitmapOwner ClipboardPictureAfter(DWORD sequence, DWORD timeoutMs)
{
    CBitmapOwner bitmap;
    if (!PumpUntil([&] { return GetClipboardSequenceNumber() != sequence && IsClipboardFormatAvailable(CF_DIB); },
                   timeoutMs) ||
        !OpenClipboard(nullptr))
        return bitmap;
    if (HGLOBAL data = GetClipboardData(CF_DIB)) {
        const auto* dib = static_cast<const BITMAPINFO*>(GlobalLock(data));
        const BYTE* bits = reinterpret_cast<const BYTE*>(dib) + dib->bmiHeader.biSize +
                           (dib->bmiHeader.biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : 0);
        bitmap.reset(CreateDIBitmap(CScreenDC(), &dib->bmiHeader, CBM_INIT, bits, dib, DIB_RGB_COLORS));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return bitmap;
}
}  // namespace MarkedRegion
