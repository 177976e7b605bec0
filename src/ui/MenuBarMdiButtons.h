#pragma once
#include <windows.h>

#include "ui/DpiScale.h"

// What the menu bar shows of a maximised MDI child: its small icon at the left end
// (it opens the child's system menu) and its minimise, restore and close buttons at
// the right end. This object only keeps the state, lays the parts out in the bar's
// client rectangle and paints them; the bar routes the mouse to it.
class CMenuBarMdiButtons {
public:
    enum Part { None, Icon, Minimize, Restore, Close };

    void SetMdiClient(HWND mdiClient) { m_hMdiClient = mdiClient; }
    // The DPI of the bar, for the parts' sizes.
    void SetDpi(const CDpiScale& dpi) { m_dpi = dpi; }
    // Looks at the MDI client's active child again; true when what is shown changes.
    bool Sync();

    // The maximised child, or null when nothing is shown.
    HWND Child() const { return m_hChild; }
    // Room taken at the left and at the right end of the bar.
    int LeftWidth() const;
    int RightWidth() const;

    RECT PartRect(Part part, const RECT& client) const;
    Part HitTest(POINT point, const RECT& client) const;
    // The system command a caption button sends to the child.
    static UINT SystemCommand(Part part);

    void SetPushed(Part part) { m_pushed = part; }
    Part Pushed() const { return m_pushed; }
    void Paint(HDC dc, const RECT& client) const;

private:
    SIZE ButtonSize() const;

    CDpiScale m_dpi;
    HWND m_hMdiClient = nullptr;
    HWND m_hChild = nullptr;
    HICON m_hIcon = nullptr;  // the child's, not ours to destroy
    Part m_pushed = None;
};
