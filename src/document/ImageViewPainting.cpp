#include "document/ImageView.h"

#include "document/MarksCache.h"
#include "document/ZoomMapping.h"

// Only the clip box is drawn. Without marks or tool work over it, straight onto the
// screen; with them, into a bitmap of the clip box first, so that nothing flickers.
void CImageView::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    RECT clip{};
    if (GetClipBox(dc, &clip) == NULLREGION || IsRectEmpty(&clip)) {
        EndPaint(Handle(), &paint);
        return;
    }
    if (!m_annotations.HasOverlay()) {
        DrawImage(dc, clip, POINT{0, 0});
        EndPaint(Handle(), &paint);
        return;
    }
    const int width = clip.right - clip.left, height = clip.bottom - clip.top;
    // The image with the marks that stay put comes from the cache, drawn there first
    // where it does not hold them yet, and the live work goes over it in the scratch
    // bitmap; without a cache, everything is drawn into a bitmap of the clip box.
    CMarksCache& cache = CMarksCache::Shared();
    if (HDC still = cache.For(this, ClientSize())) {
        const RECT missing = cache.MissingBox(clip);
        if (!IsRectEmpty(&missing)) {
            const CSavedDC state(still);
            IntersectClipRect(still, missing.left, missing.top, missing.right, missing.bottom);
            {
                const CSavedDC mapping(still);
                DrawImage(still, missing, POINT{0, 0});
            }
            m_annotations.PaintMarks(still, missing, POINT{0, 0});
            cache.Add(missing);
        }
        HDC scratch = cache.Scratch();
        BitBlt(scratch, clip.left, clip.top, width, height, still, clip.left, clip.top, SRCCOPY);
        {
            const CSavedDC state(scratch);
            IntersectClipRect(scratch, clip.left, clip.top, clip.right, clip.bottom);
            m_annotations.PaintLive(scratch, clip, POINT{0, 0});
        }
        BitBlt(dc, clip.left, clip.top, width, height, scratch, clip.left, clip.top, SRCCOPY);
    } else {
        const CMemoryDC buffer(dc);
        CBitmapOwner pixels(CreateCompatibleBitmap(dc, width, height));
        CSelectObject selection(buffer, pixels.get());
        const POINT shift{clip.left, clip.top};
        {
            const CSavedDC state(buffer);
            DrawImage(buffer, clip, shift);
        }
        m_annotations.PaintMarks(buffer, clip, shift);
        m_annotations.PaintLive(buffer, clip, shift);
        BitBlt(dc, clip.left, clip.top, width, height, buffer, 0, 0, SRCCOPY);
    }
    EndPaint(Handle(), &paint);
}

// The hatch outside the image with at most two fills, and the visible part of the
// image with one BitBlt that GDI scales through the mapping mode (an exact one, see
// SetZoomMapping). The hatch starts where the scaled image ends, which at a fitted
// zoom can be a few pixels short of the scroll range: the view has no background
// brush, so nothing else would cover them.
void CImageView::DrawImage(HDC dc, const RECT& clip, POINT shift)
{
    const SIZE image = m_document.ImageSize();
    const POINT offset = m_scroll.Offset();
    const int right = ZoomedLength(image.cx, m_fZoom) - offset.x;
    const int bottom = ZoomedLength(image.cy, m_fZoom) - offset.y;
    RECT shown = clip;
    if (shown.right > right)
        shown.right = right;
    if (shown.bottom > bottom)
        shown.bottom = bottom;

    const POINT origin{offset.x + shift.x, offset.y + shift.y};
    SetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    SetBrushOrgEx(dc, (8 - origin.x % 8) % 8, (8 - origin.y % 8) % 8, nullptr);
    auto fillHatch = [&](RECT strip) {
        OffsetRect(&strip, -shift.x, -shift.y);
        DPtoLP(dc, reinterpret_cast<POINT*>(&strip), 2);
        FillRect(dc, &strip, m_hbrBackground);
    };
    if (right < clip.right)
        fillHatch(RECT{right, clip.top, clip.right, clip.bottom});
    if (bottom < clip.bottom)
        fillHatch(RECT{clip.left, bottom, clip.right < right ? clip.right : right, clip.bottom});

    if (m_document.Image() && shown.left < shown.right && shown.top < shown.bottom) {
        if (m_fZoom != 1.0f)
            SetZoomMapping(dc, m_fZoom);
        OffsetRect(&shown, -shift.x, -shift.y);
        DPtoLP(dc, reinterpret_cast<POINT*>(&shown), 2);
        InflateRect(&shown, 1, 1);
        const CMemoryDC source(dc);
        CSelectObject selection(source, m_document.Image());
        SetStretchBltMode(dc, COLORONCOLOR);
        BitBlt(dc, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, source, shown.left,
               shown.top, SRCCOPY);
    }
}

// The image's mapping: the extents are whole thousandths of the zoom (SetZoomMapping).
CanvasMapping CImageView::Mapping() const
{
    CanvasMapping mapping;
    mapping.zoom = static_cast<float>(static_cast<int>(m_fZoom * 1000)) / 1000;
    mapping.offset = m_scroll.Offset();
    return mapping;
}
