#pragma once
#include <windows.h>

#include "scoped/ScopedHandles.h"
#include "settings/Settings.h"

enum class LongshotEnd {
    kCancelled,  // Esc or 取消: nothing is kept
    kFinished,   // Enter, 完成 or a double-click
    kPageEnd,    // the content stopped moving under automatic scrolling
    kNoMatch,    // a step could not be stitched exactly, even a smaller one
    kLimit,      // the picture reached the height limit
    kFailed,     // the session could not start or grab; error says why
};

struct LongshotResult {
    LongshotEnd end = LongshotEnd::kCancelled;
    CBitmapOwner picture;  // a top-down DIB section of 32 bits a pixel; null for kCancelled and kFailed
    DWORD error = 0;
};

// Takes a picture of a scrolled page taller than the screen: the window under the centre of
// selection (screen coordinates, the live screen) is scrolled down a step at a time, or by
// the user's wheel, and every settled grab is stitched exactly, until the user or the page
// ends it. A frame around the selection holds the keyboard, a preview beside it shows the
// picture so far; neither is ever in a grab.
LongshotResult RunLongshot(const RECT& selection, const CSettings& settings);
