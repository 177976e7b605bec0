#pragma once
#include <windows.h>

// The parts of a selection a press can take hold of: the eight handles (the corners and
// the middles of the edges, which also stand for the whole edge) and the inside.
enum class DeskGrip { kNone, kInside, kLeft, kTop, kRight, kBottom, kTopLeft, kTopRight, kBottomLeft, kBottomRight };

// The rectangle chosen on the frozen screen, in the frame's pixels, while the user still
// adjusts it: dragging a handle or an edge resizes it, dragging the inside moves it, and
// a nudge shifts it. It never leaves the frame and never gets thinner than a pixel.
class CDeskSelection {
public:
    CDeskSelection(const RECT& selection, const RECT& bounds);

    const RECT& Rect() const { return m_rect; }
    // The part under point: a handle within reach of its centre first, then an edge within
    // reach, then the inside.
    DeskGrip GripAt(POINT point, int reach) const;
    // The centres of the eight handles, in the order of DeskGrip from kLeft on.
    void HandleCentres(POINT (&centres)[8]) const;

    void BeginDrag(DeskGrip grip, POINT at);
    // True when the rectangle changed.
    bool DragTo(POINT at);
    void EndDrag() { m_grip = DeskGrip::kNone; }
    bool IsDragging() const { return m_grip != DeskGrip::kNone; }
    bool Nudge(int dx, int dy);

private:
    RECT m_rect;
    RECT m_bounds;
    DeskGrip m_grip = DeskGrip::kNone;
    POINT m_dragStart{};
    RECT m_rectAtStart{};
};
