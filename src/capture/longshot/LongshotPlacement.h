#pragma once
#include <windows.h>

#include <vector>

// Where the long screenshot's preview (and a recording's bar) goes beside a selection, worked
// out without windows. All rectangles are in screen coordinates.

// A monitor as the preview sees it: the whole of it, the part windows may cover (its work
// area) and the DPI it shows windows at.
struct PreviewMonitor {
    RECT monitor;
    RECT workArea;
    int dpi;
};

// The monitors of this screen now.
std::vector<PreviewMonitor> ScreenMonitors();

struct PreviewPlace {
    RECT window;
    int dpi;  // of the monitor it is on
};

// The preview beside the selection, in the work area of the monitor that shows most of the
// selection and never over the selection: at its right, else its left, else below, else
// above. It is width wide (sizes at 96 DPI, scaled to the monitor's) and as high as the
// selection, within the work area and at least least.cy; where the whole of that fits on no
// side, the first side with room for least takes as much of it as it can. False when no
// side has room for least, or there are no monitors.
bool PlaceLongshotPreview(const RECT& selection, const std::vector<PreviewMonitor>& monitors, int width, SIZE least,
                          PreviewPlace& place);

// A window of size (at 96 DPI) beside the selection in the same way, at its full size. False
// when no side has room: place is then inside the selection, in its bottom-right corner
// within the work area, where it covers the least of what is most looked at.
bool PlaceBesideSelection(const RECT& selection, const std::vector<PreviewMonitor>& monitors, SIZE size,
                          PreviewPlace& place);
