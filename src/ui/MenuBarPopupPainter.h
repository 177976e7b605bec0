#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "scoped/ScopedHandles.h"
#include "ui/DpiScale.h"
#include "ui/MenuImageSource.h"

// Draws the menu bar's popup menus: system menu colours and font, the toolbar image
// of a command beside its item (the normal image when the item is enabled, the
// disabled one otherwise), check and radio marks, shortcut text at the right edge.
// The text items of a popup are made owner-drawn only while it is open and are given
// back unchanged when it closes, so the menu stays an ordinary menu for everybody
// else (the MDI window list, the frame reading its texts).
class CMenuBarPopupPainter {
public:
    CMenuBarPopupPainter();

    // Command commands[i] gets image i of both lists; the lists stay the caller's.
    void SetImages(HIMAGELIST normal, HIMAGELIST disabled, const UINT* commands, int count);
    // Pictures for commands the toolbar has none for; the source must outlive the
    // painter's use of it (null for none).
    void SetImageSource(const IMenuImageSource* source) { m_pImageSource = source; }
    // Underline access keys even when the system hides keyboard cues (menu opened
    // from the keyboard).
    void ShowAccessKeys(bool show) { m_bShowAccessKeys = show; }
    // Re-reads the system's menu font and sizes, at the DPI last set.
    void UpdateMetrics();
    // The DPI of the bar's window: its paddings and font follow it from the next
    // UpdateMetrics on.
    void SetDpi(const CDpiScale& dpi) { m_dpi = dpi; }
    const CDpiScale& Dpi() const { return m_dpi; }
    HFONT MenuFont() const { return m_font.get(); }

    void PreparePopup(HMENU popup);
    void RestorePopup(HMENU popup);
    void RestoreAll();

    // WM_MEASUREITEM and WM_DRAWITEM; false for items this painter did not prepare.
    bool MeasureItem(MEASUREITEMSTRUCT& measure) const;
    bool DrawItem(const DRAWITEMSTRUCT& draw) const;

    // Position of the first item of popup whose access key is key, or -1.
    int FindAccessKey(HMENU popup, UINT key) const;

private:
    struct Item {
        HMENU hMenu;
        UINT nPosition;
        UINT nCommand;
        UINT nType;           // the item's own type flags
        ULONG_PTR nData;      // the item's own data
        std::string strText;  // label, a tab, then the shortcut
    };

    const Item* FindItem(ULONG_PTR data) const;
    bool IsDefaultItem(const Item& item) const;
    int ImageIndex(UINT command) const;
    SIZE ImageSize() const;
    int ImageColumnWidth() const;
    int RightMargin() const;
    void DrawImageColumn(HDC dc, const RECT& itemRect, const Item& item, UINT state, COLORREF glyphColor) const;
    void DrawLabel(HDC dc, RECT area, const Item& item, UINT state, COLORREF color) const;

    std::vector<std::unique_ptr<Item>> m_items;
    HIMAGELIST m_hNormalImages = nullptr;
    HIMAGELIST m_hDisabledImages = nullptr;
    std::vector<UINT> m_imageCommands;
    const IMenuImageSource* m_pImageSource = nullptr;
    CDpiScale m_dpi;
    CFontOwner m_font;
    CFontOwner m_boldFont;
    bool m_bShowAccessKeys = false;
    bool m_bKeyboardCues = true;
    bool m_bFlatMenus = false;
};
