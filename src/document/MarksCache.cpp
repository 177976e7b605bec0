#include "document/MarksCache.h"

CMarksCache& CMarksCache::Shared()
{
    static CMarksCache cache;
    return cache;
}

HDC CMarksCache::For(const void* view, SIZE size)
{
    if (view == m_pView && size.cx == m_size.cx && size.cy == m_size.cy && m_bitmap)
        return m_dc;
    SetRectRgn(m_held.get(), 0, 0, 0, 0);
    m_pView = view;
    m_size = size;
    // The old bitmaps are deleted while still selected, which only frees them once
    // the new ones take their place.
    const CScreenDC screen;
    const bool sized = size.cx > 0 && size.cy > 0;
    CBitmapOwner bitmap(sized ? CreateCompatibleBitmap(screen, size.cx, size.cy) : nullptr);
    CBitmapOwner scratch(sized ? CreateCompatibleBitmap(screen, size.cx, size.cy) : nullptr);
    if (!bitmap || !scratch || !m_dc || !m_scratchDC) {
        m_pView = nullptr;
        return nullptr;
    }
    SelectObject(m_dc, bitmap.get());
    SelectObject(m_scratchDC, scratch.get());
    m_bitmap = std::move(bitmap);
    m_scratch = std::move(scratch);
    return m_dc;
}

RECT CMarksCache::MissingBox(const RECT& area) const
{
    const CRegionOwner wanted(CreateRectRgnIndirect(&area));
    const CRegionOwner missing(CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (!wanted || !missing || CombineRgn(missing.get(), wanted.get(), m_held.get(), RGN_DIFF) == ERROR)
        return area;
    GetRgnBox(missing.get(), &box);
    return box;
}

void CMarksCache::Add(const RECT& area)
{
    const CRegionOwner drawn(CreateRectRgnIndirect(&area));
    if (drawn)
        CombineRgn(m_held.get(), m_held.get(), drawn.get(), RGN_OR);
}

void CMarksCache::Scroll(const void* view, int dx, int dy)
{
    if (view != m_pView || !m_bitmap)
        return;
    BitBlt(m_dc, dx, dy, m_size.cx, m_size.cy, m_dc, 0, 0, SRCCOPY);
    OffsetRgn(m_held.get(), dx, dy);
    const CRegionOwner client(CreateRectRgn(0, 0, m_size.cx, m_size.cy));
    CombineRgn(m_held.get(), m_held.get(), client.get(), RGN_AND);
}

void CMarksCache::Forget(const void* view, const RECT& area)
{
    if (view != m_pView)
        return;
    const CRegionOwner changed(CreateRectRgnIndirect(&area));
    if (changed)
        CombineRgn(m_held.get(), m_held.get(), changed.get(), RGN_DIFF);
    else
        SetRectRgn(m_held.get(), 0, 0, 0, 0);
}

void CMarksCache::Drop(const void* view)
{
    if (view == m_pView)
        SetRectRgn(m_held.get(), 0, 0, 0, 0);
}
