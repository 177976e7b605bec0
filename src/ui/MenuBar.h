#pragma once
#include <windows.h>
#include <commctrl.h>

#include "scoped/ScopedHandles.h"
#include "ui/MenuBarMdiButtons.h"
#include "ui/MenuBarPopupPainter.h"
#include "ui/Window.h"

// A menu bar made of a toolbar (window class "CapMenuBar", a superclass of the
// system toolbar), so that it can live in a rebar band: one button per top-level
// item of a menu, popups opened by click, by Alt or F10 and by access keys, arrow
// keys and the mouse moving from one popup to the next as on a system menu bar.
// Popups are drawn by CMenuBarPopupPainter. While an MDI child is maximised the bar
// shows its icon and caption buttons.
//
// A chosen command is posted to the command target as WM_COMMAND, as the system's
// own menus post it. What a menu reports while open (WM_INITMENU, WM_INITMENUPOPUP,
// WM_UNINITMENUPOPUP, WM_MENUSELECT, WM_ENTERMENULOOP, WM_EXITMENULOOP) is sent to the
// target too; WM_INITMENUPOPUP reaches it before the popup is prepared for drawing,
// so item states set there are the ones drawn.
class CMenuBar : public CWindow {
public:
    static const char kClassName[];

    ~CMenuBar() override;

    // Creates the bar as a child of parent showing menu, which the bar owns from then
    // on and destroys with its window. On failure (null) the menu stays the caller's.
    HWND Create(HWND parent, HWND commandTarget, HMENU menu);

    // Command commands[i] is drawn with image i of normal (enabled) or disabled; the
    // lists stay the caller's and must outlive the bar's use of them.
    void SetImages(HIMAGELIST normal, HIMAGELIST disabled, const UINT* commands, int count);
    // Sizes the bar, its popups and the maximised child's buttons for the DPI of the
    // bar's window (at creation and when the frame moves to a monitor of another DPI).
    void SetDpi(const CDpiScale& dpi);
    // Pictures for further commands, such as the editors' own icons (see CMenuBarPopupPainter).
    void SetImageSource(const IMenuImageSource* source) { m_painter.SetImageSource(source); }

    // Shows another menu (not owned; the owned one stays owned) and resizes the bar.
    void AttachMenu(HMENU menu);
    HMENU GetMenu() const { return m_hMenu; }

    // The size the bar needs to show all its buttons, for its rebar band.
    SIZE GetIdealSize() const;

    void SetMdiClient(HWND mdiClient);
    // Shows or hides the maximised child's icon and buttons; cheap when nothing changed.
    void SyncMdiChild();

    // While one lives, the buttons are laid out once at most, when it ends: a new
    // document changes the menu and the maximised child more than once on its way.
    class CRebuildHold {
    public:
        explicit CRebuildHold(CMenuBar& bar) : m_bar(bar) { m_bar.m_bHoldRebuilds = true; }
        ~CRebuildHold() { m_bar.EndRebuildHold(); }
        CRebuildHold(const CRebuildHold&) = delete;
        CRebuildHold& operator=(const CRebuildHold&) = delete;

    private:
        CMenuBar& m_bar;
    };

    // For WM_SYSCOMMAND SC_KEYMENU: lParam 0 (Alt or F10 alone) enters or leaves
    // keyboard mode, a character opens the popup whose access key it is. False when
    // the key is not the bar's ('-' and ' ' belong to the system menus).
    bool OnKeyMenu(LPARAM key);
    // For the message loop: Alt+letter typed while the focus is in a child (the MDI
    // client, a document's view) arrives there as WM_SYSCHAR; the child's default
    // processing sends SC_KEYMENU to the child itself and looks for a menu on the
    // top-level window, which has none since the bar took it, so the top-level window
    // never hears of the key. Opens the popup whose access key it is; true when it did.
    bool TranslateAccessKey(const MSG& msg);

    // Shows any popup menu drawn like the bar's own. The chosen command is posted to
    // the command target as WM_COMMAND unless flags has TPM_RETURNCMD; either way it
    // is returned (0 when nothing was chosen).
    UINT TrackPopup(HMENU menu, UINT flags, int x, int y);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static bool RegisterBarClass();
    static LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam);

    void RebuildButtons();
    void LayOutIfChanged();
    bool ButtonsMatch() const;
    void EndRebuildHold();
    void UpdateSize();
    void ShowAccessKeys(bool show);
    int ButtonCount() const;
    int HitTestButton(POINT clientPoint) const;
    int FindButtonByAccessKey(UINT key) const;
    int NeighbourButton(int index, int step) const;
    void SetHotButton(int index);

    void EnterKeyboardMode(int index);
    void LeaveKeyboardMode(bool restoreFocus);

    void TrackButtonPopups(int index, bool fromKeyboard);
    UINT TrackButtonPopup(int index, bool fromKeyboard);
    UINT TrackWithPainter(HMENU menu, UINT flags, int x, int y, const TPMPARAMS* params);
    bool OnMenuFilter(const MSG& msg);
    void SwitchPopup(int index, bool byKeyboard);

    void TrackMdiSystemMenu();
    void PostCommand(UINT command) const;
    LRESULT ForwardToTarget(UINT msg, WPARAM wParam, LPARAM lParam) const;

    LRESULT OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnChar(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuChar(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint();
    void OnSettingChange();

    HWND m_hCommandTarget = nullptr;
    HMENU m_hMenu = nullptr;
    int m_nIndent = -1;  // the room left for a maximised child's icon when last laid out
    bool m_bHoldRebuilds = false;
    bool m_bRebuildDue = false;  // asked for while held
    CMenuOwner m_ownedMenu;
    CMenuBarPopupPainter m_painter;
    CMenuBarMdiButtons m_mdiButtons;
    CMenuBarMdiButtons::Part m_nCapturedPart = CMenuBarMdiButtons::None;  // caption button under the mouse capture

    bool m_bKeyboardMode = false;
    HWND m_hFocusBefore = nullptr;  // gets the focus back when keyboard mode ends

    bool m_bInMenu = false;       // one of the bar's menus is open
    bool m_bPaintPopups = false;  // ... and is drawn by the painter
    // While the bar's popups are tracked:
    int m_nTrackedButton = -1;
    HMENU m_hTrackedPopup = nullptr;
    HMENU m_hSelectedMenu = nullptr;   // the menu of the highlighted item
    bool m_bSelectedOpensPopup = false;
    int m_nNextButton = -1;            // the popup to open when this one has closed
    bool m_bNextByKeyboard = false;
    bool m_bEscapedToBar = false;      // Esc closed the popup: back to keyboard mode
};
