#pragma once
#include <windows.h>

// Where the view of a scrolled content lies: the content's size, the view's size and
// the offset of the view's top-left corner into the content, which stays between 0
// and content - view on each axis; and how far a line and a page of scrolling go.
// No window: the image view applies what this computes.
class CScrollPosition {
public:
    POINT Offset() const { return m_ptOffset; }
    SIZE Content() const { return m_sizeContent; }
    SIZE View() const { return m_sizeView; }

    // A new content size, from the start or with the offset kept inside it; a line is
    // a hundredth of it and a page a tenth, at least one pixel each.
    void SetContent(SIZE content, bool fromStart);
    // A new view size, the offset kept inside the content.
    void SetView(SIZE view);
    // Where a scroll-bar code (SB_LINEUP ... SB_BOTTOM, SB_THUMBTRACK with its track
    // position) takes the offset on bar (SB_HORZ, SB_VERT) for a view of client; -1
    // when it moves nothing or the content fits.
    int Target(int bar, int code, SIZE client, int track) const;
    // The offset after the content was dragged by (dx, dy) under a view of client.
    POINT Dragged(int dx, int dy, SIZE client) const;
    void MoveTo(int bar, int position) { (bar == SB_HORZ ? m_ptOffset.x : m_ptOffset.y) = position; }
    void MoveTo(POINT offset) { m_ptOffset = offset; }

private:
    POINT Clamped(POINT offset, SIZE view) const;

    POINT m_ptOffset{};
    SIZE m_sizeContent{};
    SIZE m_sizeView{};
    SIZE m_sizeLine{};
    SIZE m_sizePage{};
};
