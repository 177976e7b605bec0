#pragma once
#include <windows.h>
#include <commctrl.h>

#include "document/ToolBarImages.h"
#include "ui/DpiScale.h"
#include "ui/GuiFont.h"
#include "ui/StatusBar.h"

class CMenuBar;

// The bars of the main frame: the rebar on top with the menu bar (which takes over
// the frame's own menu), the toolbar and the annotation toolbar in rows of their own,
// and the status bar below with the help line of the highlighted menu item.
class CFrameBars {
public:
    explicit CFrameBars(CMenuBar& menuBar) : m_menuBar(menuBar) {}

    // Makes every bar in frame. The frame's menu goes to the menu bar.
    void Create(HWND frame);
    // The menu the frame was created with, now the menu bar's.
    HMENU FrameMenu() const { return m_hFrameMenu; }

    HWND Rebar() const { return m_hWndRebar; }
    HWND ToolBar() const { return m_hWndToolBar; }
    HWND StatusBar() const { return m_statusBar.Handle(); }
    CStatusBar& Status() { return m_statusBar; }

    // The bars sized for a new DPI of the frame, as Create sized them for the first:
    // the menu bar, the fonts and pictures of the toolbar and the menus, the tooltips'
    // and status bar's fonts, the status panes.
    // FitBands then gives every band of the rebar its bar's new size.
    void ChangeDpi(const CDpiScale& dpi);
    void FitBands();
    // The client width that shows the whole toolbar on its row.
    int ToolBarRowWidth() const;

    // Takes the shown bars' room off area, fitting them to the frame first when asked.
    void Place(RECT& area, bool resizeBars);
    // The annotation toolbar in a band on a row of its own, hidden until shown.
    void AddAnnotationBand(HWND toolBar);
    void ShowAnnotationBand(bool show);
    void ToggleToolBar();
    void ToggleStatusBar();

    // The editors' menu below the 编辑 button, its left edge at the button's.
    void DropDownEditors(const NMTOOLBARA& notify, HMENU editors);
    // WM_MENUSELECT: the help line of a command, or the status texts back.
    void ShowMenuHelp(WPARAM wParam, LPARAM lParam);

private:
    void ShowPictures(const CDpiScale& dpi);
    void CreateRebar(HWND frame);
    void MeasureBand(REBARBANDINFOA& band) const;
    void AddBand(HWND child, bool newRow);
    void CreateStatusBar(HWND frame);
    void FollowFonts();

    CMenuBar& m_menuBar;
    CToolBarImages m_images;
    HMENU m_hFrameMenu = nullptr;
    HWND m_hWndRebar = nullptr;
    HWND m_hWndToolBar = nullptr;
    bool m_bToolBarVisible = true;
    CStatusBar m_statusBar;
    CGuiFont m_toolBarFont, m_toolTipFont, m_statusFont;
};
