#ifndef SNAPCORE_WINDOWPICKER_H
#define SNAPCORE_WINDOWPICKER_H

#include <windows.h>

#include <vector>

#include "scoped/NonCopyable.h"

namespace snapcore {

// Finds the window under a screen point the way the user saw the screen when the
// capture began: the visible top-level windows are listed once, in z-order, before
// the overlay covers them. Rectangles are window rectangles clipped to the screen.
class CWindowPicker : CNonCopyable {
public:
    explicit CWindowPicker(const RECT& screen);

    // The topmost listed window containing point; false when there is none.
    bool TopLevelAt(POINT point, RECT* rect) const;
    // The deepest visible child window containing point inside that top-level window
    // (the top-level window itself when it has no child there).
    bool ObjectAt(POINT point, RECT* rect) const;

private:
    struct Entry { HWND hWnd; RECT rect; };

    static BOOL CALLBACK AddTopLevel(HWND window, LPARAM self);
    const Entry* EntryAt(POINT point) const;

    RECT m_rcScreen;
    std::vector<Entry> m_entries;
};

} // namespace snapcore

#endif
