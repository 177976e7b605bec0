#pragma once
#include <windows.h>

#include "scoped/ScopedHandles.h"

// The open and the closed hand over a view, drawn at 16, 24 and 32 pixels, in the
// size for the window's DPI; loaded again after it moved to a monitor of another DPI.
class CHandCursors {
public:
    HCURSOR Get(HWND window, bool closed);

private:
    CCursorOwner m_hHands[2];
    int m_nSize = 0;  // of the hands loaded, 0 before the first is asked for
};
