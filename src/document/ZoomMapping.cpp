#include "document/ZoomMapping.h"

// The isotropic mode would correct one of the extents so that a logical unit has the
// same size in millimetres along both axes, and a screen's millimetres are seldom
// exactly square: the image would come out narrower than the zoom and drift away
// from the scroll positions, which assume the exact factor. The anisotropic mode
// keeps the extents as given.
namespace {
int Extent(float zoom)
{
    return static_cast<int>(zoom * 1000);
}
} // namespace

void SetZoomMapping(HDC dc, float zoom)
{
    const int extent = Extent(zoom);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1000, 1000, nullptr);
    SetViewportExtEx(dc, extent, extent, nullptr);
}

int ZoomedLength(int length, float zoom)
{
    return MulDiv(length, Extent(zoom), 1000);
}
