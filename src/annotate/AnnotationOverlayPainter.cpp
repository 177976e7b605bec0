#include "annotate/AnnotationOverlayPainter.h"

#include <cmath>

#include "scoped/ScopedHandles.h"

namespace {
// Screen pixels between a selected mark and its frame, so the frame never hides its edge.
constexpr int kSelectionGap = 3;

POINT ToDevice(const CanvasMapping& mapping, ImagePoint point)
{
    return POINT{static_cast<LONG>(std::lround(point.x * mapping.zoom - static_cast<float>(mapping.offset.x))),
                 static_cast<LONG>(std::lround(point.y * mapping.zoom - static_cast<float>(mapping.offset.y)))};
}

// Dots over white, seen on any picture.
void FrameDashed(HDC dc, const RECT& box)
{
    CBrushOwner white(CreateSolidBrush(RGB(255, 255, 255)));
    FrameRect(dc, &box, white.get());
    CHandleOwner<HPEN, GdiObjectDeleter> dash(CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    CSelectObject pen(dc, dash.get());
    CSelectObject brush(dc, GetStockObject(NULL_BRUSH));
    SetBkMode(dc, TRANSPARENT);
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
}

void FrameBox(HDC dc, const CanvasMapping& mapping, const ImageRect& box, int grow)
{
    const POINT a = ToDevice(mapping, {box.left, box.top}), b = ToDevice(mapping, {box.right, box.bottom});
    FrameDashed(dc, RECT{a.x - grow, a.y - grow, b.x + grow + 1, b.y + grow + 1});
}

void DrawHandle(HDC dc, POINT at, int size)
{
    const int half = size / 2;
    CSelectObject pen(dc, GetStockObject(BLACK_PEN));
    CSelectObject brush(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, at.x - half, at.y - half, at.x + half + 1, at.y + half + 1);
}
}

void PaintAnnotationOverlay(HDC dc, const CanvasMapping& mapping, const RECT& marksClip, HBITMAP image,
                            const AnnotationOverlay& overlay, int handleSize)
{
    if (!overlay.live.empty() || overlay.draft)
        PaintAnnotations(dc, mapping, marksClip, image, overlay.live, overlay.draft);
    for (const ImageRect& box : overlay.selected)
        FrameBox(dc, mapping, box, kSelectionGap);
    for (const ImagePoint& handle : overlay.handles)
        DrawHandle(dc, ToDevice(mapping, handle), handleSize);
    if (overlay.band)
        FrameBox(dc, mapping, *overlay.band, 0);
    if (overlay.cropFrame)
        FrameBox(dc, mapping, *overlay.cropFrame, 0);
}
