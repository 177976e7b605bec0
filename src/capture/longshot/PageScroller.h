#pragma once
#include <windows.h>

// Scrolls the window that shows a point of the screen, a number of steps at a time: by its
// vertical scroll bar (WM_VSCROLL, a line a step) where it or a parent has one, else by the
// wheel (a notch a step) sent to the window at the point. The distance a step covers is
// learnt from what the screen showed; the scroll bar's position tells it beforehand where
// the bar's units are known.
class CPageScroller {
public:
    // point: screen coordinates, the centre of what is scrolled.
    explicit CPageScroller(POINT point);

    bool UsesScrollBar() const { return m_scrollBar != nullptr; }
    // steps > 0 scrolls down the page, < 0 back up. Answers how far the content should have
    // moved up the screen, in pixels: 0 when that is not known (yet).
    int Scroll(int steps);
    // True when the last Scroll moved the scroll bar: the content is bound to move.
    bool BarMoved() const { return m_bBarMoved; }
    // What the last Scroll's steps turned out to move the content by (the stitcher's
    // answer), to learn a step's size.
    void Moved(int steps, int pixels);
    // The steps for about pixels of movement, at least one.
    int StepsFor(int pixels) const;
    // True while the scrolled window has yet to paint what it moved into view.
    bool IsPainting() const;
    // False when the scroll bar already stands at its end (the page cannot move further
    // down); true when that cannot be told.
    bool CanGoDown() const;

private:
    bool ScrollBarInfo(SCROLLINFO& info) const;

    POINT m_point;
    HWND m_target = nullptr;     // the window at the point
    HWND m_scrollBar = nullptr;  // it or the first parent with a vertical scroll bar
    double m_pixelsPerStep = 0;  // learnt; 0 while unknown
    bool m_bBarMoved = false;
};
