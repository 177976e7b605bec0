#include "document/ScrollPosition.h"

#include <algorithm>

#include "document/ViewArithmetic.h"

void CScrollPosition::SetContent(SIZE content, bool fromStart)
{
    m_sizeContent = content;
    m_ptOffset = fromStart ? POINT{} : Clamped(m_ptOffset, m_sizeView);
    m_sizeLine = SIZE{std::max(1L, content.cx / 100), std::max(1L, content.cy / 100)};
    m_sizePage = SIZE{std::max(1L, content.cx / 10), std::max(1L, content.cy / 10)};
}

void CScrollPosition::SetView(SIZE view)
{
    m_sizeView = view;
    m_ptOffset = Clamped(m_ptOffset, view);
}

int CScrollPosition::Target(int bar, int code, SIZE client, int track) const
{
    const bool horizontal = bar == SB_HORZ;
    const int maximum = horizontal ? m_sizeContent.cx - client.cx : m_sizeContent.cy - client.cy;
    if (maximum < 0)
        return -1;
    return ScrollTarget(code, horizontal ? m_ptOffset.x : m_ptOffset.y, horizontal ? m_sizeLine.cx : m_sizeLine.cy,
                        horizontal ? m_sizePage.cx : m_sizePage.cy, maximum, track);
}

POINT CScrollPosition::Dragged(int dx, int dy, SIZE client) const
{
    return Clamped(POINT{m_ptOffset.x - dx, m_ptOffset.y - dy}, client);
}

POINT CScrollPosition::Clamped(POINT offset, SIZE view) const
{
    const LONG maxX = std::max(0L, m_sizeContent.cx - view.cx), maxY = std::max(0L, m_sizeContent.cy - view.cy);
    return POINT{std::clamp(offset.x, 0L, maxX), std::clamp(offset.y, 0L, maxY)};
}
