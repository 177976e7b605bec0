#pragma once
#include <windows.h>

#include <vector>

// Where the capture desk's toolbar goes, worked out without windows. All rectangles are in
// screen coordinates.

// The monitor that shows most of the selection; when it shows on none, the nearest.
// monitors must not be empty.
RECT MonitorShowingMost(const RECT& selection, const std::vector<RECT>& monitors);

// The top-left of a bar of the given size beside the selection, wholly on the monitor that
// shows most of it: right-aligned below the selection, else above it, else inside it in the
// corner (bottom-right first) that keeps clear of markedUp, the part being marked up, or
// covers the least of it. With no monitors the bar goes below, unclamped.
POINT PlaceDeskToolBar(const RECT& selection, SIZE bar, const std::vector<RECT>& monitors, const RECT& markedUp);
