// The desk showing a picture taken elsewhere: placed on one monitor and scrolled there.
#include "capture/desk/DeskWindow.h"

#include <algorithm>

#include "ui/DpiScale.h"

namespace {
// The rows one line of the wheel scrolls, at 96 DPI.
constexpr int kWheelLineRows = 20;

// The start of a picture of length pictureLength placed at want on a monitor of length
// monitorLength, kept on it where it fits, else at its start.
LONG KeptOn(LONG want, LONG pictureLength, LONG monitorLength)
{
    return std::max(0L, std::min(want, monitorLength - pictureLength));
}
}  // namespace

bool CDeskWindow::ShowPicture(HBITMAP picture, const RECT& place)
{
    if (!UseFrame(picture))
        return false;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST), &monitor))
        return false;
    const RECT& screen = monitor.rcMonitor;
    m_ptDeskOrigin = POINT{screen.left, screen.top};
    m_deskSize = SIZE{screen.right - screen.left, screen.bottom - screen.top};
    m_bPicture = true;
    m_nScroll = 0;
    m_nScrollMax = std::max(0L, m_frameSize.cy - m_deskSize.cy);
    m_ptFrameShift = POINT{KeptOn(place.left - screen.left, m_frameSize.cx, m_deskSize.cx),
                           KeptOn(place.top - screen.top, m_frameSize.cy, m_deskSize.cy)};
    const RECT shown{m_ptFrameShift.x, m_ptFrameShift.y, m_ptFrameShift.x + m_frameSize.cx,
                     m_ptFrameShift.y + m_frameSize.cy};
    return ShowDesk(picture, shown, shown);
}

RECT CDeskWindow::InFrame(const RECT& client) const
{
    RECT frame = client;
    OffsetRect(&frame, -m_ptFrameShift.x, -m_ptFrameShift.y);
    return frame;
}

void CDeskWindow::OnMouseWheel(int delta)
{
    // A mark or a text in progress stays where the pointer put it.
    if (!m_bPicture || IsWorkInProgress())
        return;
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int notchRows = lines == WHEEL_PAGESCROLL
                              ? m_deskSize.cy
                              : static_cast<int>(lines) * CDpiScale::OfWindow(Handle()).Scale(kWheelLineRows);
    ScrollPicture(-delta * notchRows / WHEEL_DELTA);
}

void CDeskWindow::ScrollPicture(int rows)
{
    const int scroll = std::max(0, std::min(m_nScroll + rows, m_nScrollMax));
    const int by = scroll - m_nScroll;
    if (by == 0)
        return;
    m_nScroll = scroll;
    m_ptFrameShift.y -= by;
    RECT shown = Selection();
    OffsetRect(&shown, 0, -by);
    m_selection = CDeskSelection(shown, shown);
    if (m_picture.Bitmap()) {
        m_rcPicture = shown;
        m_surface.SetPictureOrigin(POINT{shown.left, shown.top});
    }
    InvalidateRect(Handle(), nullptr, FALSE);
    PlaceToolBar();
}
