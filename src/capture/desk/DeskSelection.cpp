#include "capture/desk/DeskSelection.h"

#include <algorithm>
#include <cstdlib>

namespace {
bool Moves(DeskGrip grip, DeskGrip edge, DeskGrip corner1, DeskGrip corner2)
{
    return grip == edge || grip == corner1 || grip == corner2;
}

RECT Clamped(RECT rect, const RECT& bounds)
{
    rect.left = std::max(rect.left, bounds.left);
    rect.top = std::max(rect.top, bounds.top);
    rect.right = std::min(rect.right, bounds.right);
    rect.bottom = std::min(rect.bottom, bounds.bottom);
    return rect;
}
}  // namespace

CDeskSelection::CDeskSelection(const RECT& selection, const RECT& bounds)
    : m_rect(Clamped(selection, bounds)), m_bounds(bounds)
{
}

void CDeskSelection::HandleCentres(POINT (&centres)[8]) const
{
    const LONG midX = (m_rect.left + m_rect.right) / 2, midY = (m_rect.top + m_rect.bottom) / 2;
    centres[0] = {m_rect.left, midY};
    centres[1] = {midX, m_rect.top};
    centres[2] = {m_rect.right, midY};
    centres[3] = {midX, m_rect.bottom};
    centres[4] = {m_rect.left, m_rect.top};
    centres[5] = {m_rect.right, m_rect.top};
    centres[6] = {m_rect.left, m_rect.bottom};
    centres[7] = {m_rect.right, m_rect.bottom};
}

DeskGrip CDeskSelection::GripAt(POINT point, int reach) const
{
    POINT centres[8];
    HandleCentres(centres);
    // Corners before the middles of the edges, so that a tiny selection can still grow diagonally.
    for (int i = 7; i >= 0; --i)
        if (std::abs(point.x - centres[i].x) <= reach && std::abs(point.y - centres[i].y) <= reach)
            return static_cast<DeskGrip>(static_cast<int>(DeskGrip::kLeft) + i);
    const bool withinX = point.x >= m_rect.left - reach && point.x <= m_rect.right + reach;
    const bool withinY = point.y >= m_rect.top - reach && point.y <= m_rect.bottom + reach;
    if (withinY && std::abs(point.x - m_rect.left) <= reach)
        return DeskGrip::kLeft;
    if (withinY && std::abs(point.x - m_rect.right) <= reach)
        return DeskGrip::kRight;
    if (withinX && std::abs(point.y - m_rect.top) <= reach)
        return DeskGrip::kTop;
    if (withinX && std::abs(point.y - m_rect.bottom) <= reach)
        return DeskGrip::kBottom;
    return PtInRect(&m_rect, point) ? DeskGrip::kInside : DeskGrip::kNone;
}

void CDeskSelection::BeginDrag(DeskGrip grip, POINT at)
{
    m_grip = grip;
    m_dragStart = at;
    m_rectAtStart = m_rect;
}

bool CDeskSelection::DragTo(POINT at)
{
    if (m_grip == DeskGrip::kNone)
        return false;
    const RECT before = m_rect;
    if (m_grip == DeskGrip::kInside) {
        m_rect = m_rectAtStart;
        Nudge(at.x - m_dragStart.x, at.y - m_dragStart.y);
        return !EqualRect(&before, &m_rect);
    }
    const LONG dx = at.x - m_dragStart.x, dy = at.y - m_dragStart.y;
    LONG left = m_rectAtStart.left, top = m_rectAtStart.top, right = m_rectAtStart.right,
         bottom = m_rectAtStart.bottom;
    if (Moves(m_grip, DeskGrip::kLeft, DeskGrip::kTopLeft, DeskGrip::kBottomLeft))
        left += dx;
    if (Moves(m_grip, DeskGrip::kRight, DeskGrip::kTopRight, DeskGrip::kBottomRight))
        right += dx;
    if (Moves(m_grip, DeskGrip::kTop, DeskGrip::kTopLeft, DeskGrip::kTopRight))
        top += dy;
    if (Moves(m_grip, DeskGrip::kBottom, DeskGrip::kBottomLeft, DeskGrip::kBottomRight))
        bottom += dy;
    // An edge dragged past the opposite one turns the rectangle over, as a new drag would.
    RECT rect{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    rect = Clamped(rect, m_bounds);
    if (rect.right == rect.left)
        rect.right < m_bounds.right ? ++rect.right : --rect.left;
    if (rect.bottom == rect.top)
        rect.bottom < m_bounds.bottom ? ++rect.bottom : --rect.top;
    m_rect = rect;
    return !EqualRect(&before, &m_rect);
}

bool CDeskSelection::Nudge(int dx, int dy)
{
    const RECT before = m_rect;
    dx = std::max(static_cast<LONG>(dx), m_bounds.left - m_rect.left);
    dx = std::min(static_cast<LONG>(dx), m_bounds.right - m_rect.right);
    dy = std::max(static_cast<LONG>(dy), m_bounds.top - m_rect.top);
    dy = std::min(static_cast<LONG>(dy), m_bounds.bottom - m_rect.bottom);
    OffsetRect(&m_rect, dx, dy);
    return !EqualRect(&before, &m_rect);
}
