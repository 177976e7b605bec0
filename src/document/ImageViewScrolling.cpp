#include "document/ImageView.h"

#include "document/MarksCache.h"
#include "document/ViewArithmetic.h"

// The view's scrolling: the range and the bars, the keys, the wheel and the hand.

SIZE CImageView::ClientSize() const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    return SIZE{client.right, client.bottom};
}

void CImageView::SetScrollBars(bool redraw)
{
    const SIZE content = m_scroll.Content(), view = m_scroll.View();
    const POINT offset = m_scroll.Offset();
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = content.cx - 1;
    info.nPage = static_cast<UINT>(view.cx);
    info.nPos = offset.x;
    SetScrollInfo(Handle(), SB_HORZ, &info, redraw);
    info.nMax = content.cy - 1;
    info.nPage = static_cast<UINT>(view.cy);
    info.nPos = offset.y;
    SetScrollInfo(Handle(), SB_VERT, &info, redraw);
}

void CImageView::SetContentSize(int cx, int cy, bool redraw, bool resetOffset)
{
    m_scroll.SetContent(SIZE{cx, cy}, resetOffset);
    CMarksCache::Shared().Drop(this);
    SetScrollBars(true);
    if (redraw)
        InvalidateRect(Handle(), nullptr, TRUE);
    m_annotations.ViewMoved();
}

void CImageView::ScrollClient(int dx, int dy)
{
    ScrollWindowEx(Handle(), dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    CMarksCache::Shared().Scroll(this, dx, dy);
    m_annotations.ViewMoved();
}

void CImageView::OnSize(int width, int height)
{
    UpdateCommandUI();
    const POINT old = m_scroll.Offset();
    m_scroll.SetView(SIZE{width, height});
    SetScrollBars(true);
    const POINT now = m_scroll.Offset();
    if (now.x != old.x || now.y != old.y) {
        ScrollClient(old.x - now.x, old.y - now.y);
        SetScrollPos(Handle(), SB_HORZ, now.x, FALSE);
        SetScrollPos(Handle(), SB_VERT, now.y, FALSE);
    }
}

bool CImageView::OnKeyDown(WPARAM key)
{
    static const struct {
        WPARAM key;
        int bar;
        int code;
    } kScrollKeys[] = {{VK_UP, SB_VERT, SB_LINEUP},     {VK_DOWN, SB_VERT, SB_LINEDOWN},  {VK_PRIOR, SB_VERT, SB_PAGEUP},
                       {VK_NEXT, SB_VERT, SB_PAGEDOWN}, {VK_HOME, SB_VERT, SB_TOP},        {VK_END, SB_VERT, SB_BOTTOM},
                       {VK_LEFT, SB_HORZ, SB_LINELEFT}, {VK_RIGHT, SB_HORZ, SB_LINERIGHT}};
    for (const auto& entry : kScrollKeys) {
        if (entry.key == key) {
            OnScroll(entry.bar, entry.code);
            return true;
        }
    }
    return false;
}

void CImageView::OnScroll(int bar, int code)
{
    int track = 0;
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), bar, &info);
        track = info.nTrackPos;
    }
    const int target = m_scroll.Target(bar, code, ClientSize(), track);
    if (target >= 0)
        ScrollTo(bar, target);
}

void CImageView::ScrollTo(int bar, int position)
{
    const POINT offset = m_scroll.Offset();
    const int current = bar == SB_HORZ ? offset.x : offset.y;
    if (position == current)
        return;
    const int delta = current - position;
    m_scroll.MoveTo(bar, position);
    SetScrollPos(Handle(), bar, position, TRUE);
    ScrollClient(bar == SB_HORZ ? delta : 0, bar == SB_VERT ? delta : 0);
}

void CImageView::Pan(int dx, int dy)
{
    const POINT offset = m_scroll.Offset(), target = m_scroll.Dragged(dx, dy, ClientSize());
    if (target.x == offset.x && target.y == offset.y)
        return;
    ScrollClient(offset.x - target.x, offset.y - target.y);
    SetScrollPos(Handle(), SB_HORZ, target.x, TRUE);
    SetScrollPos(Handle(), SB_VERT, target.y, TRUE);
    m_scroll.MoveTo(target);
}

void CImageView::OnMouseWheel(int delta)
{
    const bool pages = m_nNotchLines == -1;
    const int code = delta > 0 ? (pages ? SB_PAGEUP : SB_LINEUP) : (pages ? SB_PAGEDOWN : SB_LINEDOWN);
    const int steps = WheelSteps(m_nWheelAccum, delta, m_nNotchLines);
    for (int i = 0; i < steps; ++i) {
        OnScroll(m_scroll.Content().cy > ClientSize().cy ? SB_VERT : SB_HORZ, code);
        UpdateWindow(Handle());
    }
}

void CImageView::ReadWheelSettings()
{
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    m_nNotchLines = static_cast<int>(lines);
    // An old wheel driver answers for itself.
    if (HWND driver = FindWindowA("MouseZ", "Magellan MSWHEEL")) {
        const UINT message = RegisterWindowMessageA("MSH_SCROLL_LINES_MSG");
        m_nNotchLines = static_cast<int>(SendMessageA(driver, message, 0, 0));
    }
}
