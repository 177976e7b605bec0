#include "document/PrintLayout.h"

#include <algorithm>
#include <cstdint>

namespace {
// The start of a span of length inside [0, room) whose centre is at centre, kept
// inside when the span fits.
LONG CentredStart(int64_t centre, LONG length, LONG room)
{
    const int64_t start = centre - length / 2;
    return static_cast<LONG>(std::clamp<int64_t>(start, 0, std::max<int64_t>(room - length, 0)));
}
}

RECT PlaceImageOnPage(SIZE imagePixels, int imageDpi, const PrintPage& page)
{
    RECT placed{};
    if (imagePixels.cx <= 0 || imagePixels.cy <= 0 || imageDpi <= 0 || page.printable.cx <= 0 ||
        page.printable.cy <= 0 || page.dpi.cx <= 0 || page.dpi.cy <= 0)
        return placed;

    // The natural size in device pixels, each axis at the printer's own resolution.
    int64_t width = int64_t{imagePixels.cx} * page.dpi.cx / imageDpi;
    int64_t height = int64_t{imagePixels.cy} * page.dpi.cy / imageDpi;
    width = std::max<int64_t>(width, 1);
    height = std::max<int64_t>(height, 1);
    // Reduced by the one factor that makes the tighter side fit: width / printable.cx
    // against height / printable.cy, compared without division.
    if (width > page.printable.cx || height > page.printable.cy) {
        if (width * page.printable.cy >= height * page.printable.cx) {
            height = std::max<int64_t>(height * page.printable.cx / width, 1);
            width = page.printable.cx;
        } else {
            width = std::max<int64_t>(width * page.printable.cy / height, 1);
            height = page.printable.cy;
        }
    }

    const int64_t centreX = int64_t{page.paper.cx} / 2 - page.printableOffset.x;
    const int64_t centreY = int64_t{page.paper.cy} / 2 - page.printableOffset.y;
    placed.left = CentredStart(centreX, static_cast<LONG>(width), page.printable.cx);
    placed.top = CentredStart(centreY, static_cast<LONG>(height), page.printable.cy);
    placed.right = placed.left + static_cast<LONG>(width);
    placed.bottom = placed.top + static_cast<LONG>(height);
    return placed;
}
