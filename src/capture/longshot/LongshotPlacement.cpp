#include "capture/longshot/LongshotPlacement.h"

#include <algorithm>

#include "capture/desk/DeskToolBarPlacement.h"
#include "document/WindowBeside.h"
#include "ui/DpiScale.h"

namespace {
// At 96 DPI: kept free between the selection and the preview, for the frame drawn round the
// selection.
constexpr int kGap = 8;

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
    place.dpi = dpi.Dpi();
    return PlaceBeside(selection, wanted, smallest, on.workArea, dpi.Scale(kGap), place.window);
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
