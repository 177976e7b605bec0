#include "capture/longshot/LongshotPlacement.h"

#include <algorithm>

#include "capture/desk/DeskToolBarPlacement.h"
#include "ui/DpiScale.h"

namespace {
// At 96 DPI: kept free between the selection and the preview, for the frame drawn round the
// selection.
constexpr int kGap = 8;

enum class Side { kRight, kLeft, kBelow, kAbove };

// Start of a length kept within [low, high), where it fits.
long Clamp(long start, long length, long low, long high)
{
    return std::max(low, std::min(start, high - length));
}

// The room on one side of the selection within the work area.
RECT RoomAt(Side side, const RECT& selection, const RECT& work, int gap)
{
    RECT room = work;
    switch (side) {
    case Side::kRight:
        room.left = std::max(work.left, selection.right + gap);
        break;
    case Side::kLeft:
        room.right = std::min(work.right, selection.left - gap);
        break;
    case Side::kBelow:
        room.top = std::max(work.top, selection.bottom + gap);
        break;
    case Side::kAbove:
        room.bottom = std::min(work.bottom, selection.top - gap);
        break;
    }
    return room;
}

// The preview of size in the room, next to the selection and level with its top or left edge.
RECT PreviewIn(Side side, const RECT& room, SIZE size, const RECT& selection)
{
    RECT window{};
    const bool beside = side == Side::kRight || side == Side::kLeft;
    window.left = side == Side::kLeft  ? room.right - size.cx
                  : beside             ? room.left
                                       : Clamp(selection.left, size.cx, room.left, room.right);
    window.top = side == Side::kAbove ? room.bottom - size.cy
                 : beside             ? Clamp(selection.top, size.cy, room.top, room.bottom)
                                      : room.top;
    window.right = window.left + size.cx;
    window.bottom = window.top + size.cy;
    return window;
}

const PreviewMonitor& MonitorOf(const RECT& selection, const std::vector<PreviewMonitor>& monitors)
{
    std::vector<RECT> whole;
    for (const PreviewMonitor& monitor : monitors)
        whole.push_back(monitor.monitor);
    const RECT showingMost = MonitorShowingMost(selection, whole);
    return *std::find_if(monitors.begin(), monitors.end(), [&](const PreviewMonitor& monitor) {
        return EqualRect(&monitor.monitor, &showingMost);
    });
}

// Sizes in pixels of the monitor.
bool PlaceOnMonitor(const RECT& selection, const PreviewMonitor& on, SIZE wanted, SIZE smallest, PreviewPlace& place)
{
    const CDpiScale dpi(on.dpi);
    const Side sides[] = {Side::kRight, Side::kLeft, Side::kBelow, Side::kAbove};
    for (const SIZE needed : {wanted, smallest}) {
        for (Side side : sides) {
            const RECT room = RoomAt(side, selection, on.workArea, dpi.Scale(kGap));
            const SIZE roomSize{room.right - room.left, room.bottom - room.top};
            if (roomSize.cx < needed.cx || roomSize.cy < needed.cy)
                continue;
            const SIZE size{std::min(wanted.cx, roomSize.cx), std::min(wanted.cy, roomSize.cy)};
            place = PreviewPlace{PreviewIn(side, room, size, selection), dpi.Dpi()};
            return true;
        }
    }
    return false;
}

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM monitors)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(handle, &info))
        reinterpret_cast<std::vector<PreviewMonitor>*>(monitors)->push_back(
            PreviewMonitor{info.rcMonitor, info.rcWork, CDpiScale::OfMonitor(handle).Dpi()});
    return TRUE;
}
}  // namespace

std::vector<PreviewMonitor> ScreenMonitors()
{
    std::vector<PreviewMonitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

bool PlaceLongshotPreview(const RECT& selection, const std::vector<PreviewMonitor>& monitors, int width, SIZE least,
                          PreviewPlace& place)
{
    if (monitors.empty())
        return false;
    const PreviewMonitor& on = MonitorOf(selection, monitors);
    const CDpiScale dpi(on.dpi);
    const SIZE smallest{dpi.Scale(least.cx), dpi.Scale(least.cy)};
    const long workHeight = on.workArea.bottom - on.workArea.top;
    const SIZE wanted{std::max(smallest.cx, static_cast<LONG>(dpi.Scale(width))),
                      std::max(smallest.cy, std::min(selection.bottom - selection.top, workHeight))};
    return PlaceOnMonitor(selection, on, wanted, smallest, place);
}

bool PlaceBesideSelection(const RECT& selection, const std::vector<PreviewMonitor>& monitors, SIZE size,
                          PreviewPlace& place)
{
    if (monitors.empty())
        return false;
    const PreviewMonitor& on = MonitorOf(selection, monitors);
    const CDpiScale dpi(on.dpi);
    const SIZE scaled{dpi.Scale(size.cx), dpi.Scale(size.cy)};
    if (PlaceOnMonitor(selection, on, scaled, scaled, place))
        return true;
    // No room outside: the corner of the work area at the selection's bottom right.
    const RECT& work = on.workArea;
    const long right = std::min(selection.right, work.right), bottom = std::min(selection.bottom, work.bottom);
    place = PreviewPlace{RECT{right - scaled.cx, bottom - scaled.cy, right, bottom}, dpi.Dpi()};
    return false;
}
