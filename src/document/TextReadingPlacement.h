#pragma once
#include <windows.h>

// Where the text-reading window goes and how large it is, worked out without windows. All
// rectangles are in screen coordinates; lengths named at 96 DPI are scaled to the monitor's.

// The monitor that shows most of the picture: the part windows may cover, and its DPI.
struct STextReadingMonitor {
    RECT workArea;
    int dpi;
};

// The window's layout at 96 DPI: the picture on the left, the text at its right, and a bar
// with the status, the progress and the buttons under both.
struct STextReadingLayout {
    static constexpr int kPadding = 8;
    static constexpr int kGap = 6;
    static constexpr int kTextWidth = 360;
    static constexpr int kLeastPicture = 120;  // the picture pane's least width and height
    static constexpr int kBarHeight = 34;      // two lines of status beside the buttons
    static constexpr int kButtonWidth = 84;
    static constexpr int kButtonHeight = 26;
    static constexpr int kProgressWidth = 120;
    static constexpr int kProgressHeight = 14;
};

// The window for a picture of pictureSize shown at `beside`: the picture at most half the
// work area wide and never enlarged, with the text at its right; frame is what the window's border and caption add to its client size.
// It goes at the right of `beside`, else at its left, else below, else beside it on the
// roomier side with the picture smaller, else over its right part; always within the work area.
RECT PlaceTextReadingWindow(const RECT& beside, SIZE pictureSize, SIZE frame, const STextReadingMonitor& monitor);
