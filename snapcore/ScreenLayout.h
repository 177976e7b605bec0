#ifndef SNAPCORE_SCREENLAYOUT_H
#define SNAPCORE_SCREENLAYOUT_H

#include <windows.h>

#include <vector>

namespace snapcore {

// Where the monitors lie in the virtual screen, and what an interactive capture makes
// of that: which monitor shows a point, which pixels a drag selects, where a label goes.
// Screen coordinates throughout.
class CScreenLayout {
public:
    // Monitors inside bounds; with none, bounds stands for one monitor.
    CScreenLayout(const RECT& bounds, std::vector<RECT> monitors);
    // The system's monitors now, inside bounds.
    static CScreenLayout OfSystem(const RECT& bounds);

    // The monitor that shows point, or the nearest one.
    RECT MonitorAt(POINT point) const;
    // Whether some monitor shows point.
    bool Shows(POINT point) const;
    // The pixels that a drag from the pixel anchor to the pixel pointer selects; empty
    // when it moved along one axis only.
    RECT Selection(POINT anchor, POINT pointer) const;
    // The monitor that shows most of subject, or the one nearest its top-left corner.
    RECT MonitorShowing(const RECT& subject) const;
    // Where a label of the given size goes for subject, on the monitor that shows it:
    // above the top-left corner of what that monitor shows, or just inside it (clear of
    // a frame of the given width drawn there) where there is no room above; and beside
    // clearOf rather than over it.
    RECT PlaceLabel(const RECT& subject, SIZE label, int frame, const RECT& clearOf) const;

private:
    static BOOL CALLBACK AddMonitor(HMONITOR, HDC, RECT* area, LPARAM monitors);

    RECT m_rcBounds;
    std::vector<RECT> m_monitors;
};

} // namespace snapcore

#endif
