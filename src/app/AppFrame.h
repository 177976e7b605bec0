#pragma once
#include "app/MdiClientRouting.h"
#include "app/TrayIcon.h"
#include "app/ToolBarImages.h"
#include "capture/CaptureHost.h"
#include "capture/CaptureWorkflow.h"
#include "editors/EditorList.h"
#include "ui/MenuBar.h"
#include "ui/MessageLoop.h"
#include "ui/StatusBar.h"
#include "ui/Window.h"

#include <string>
#include <vector>

// The program's one top-level window: an MDI frame with a rebar (menu bar and
// toolbar) on top, the tab strip with the MDI client over it, and a status bar.
// It handles its own commands and passes every other one to the active document.
class CImageFrame;

class CAppFrame : public CWindow, public ILoopMessageFilter, public IIdleHandler, private ICaptureHost {
public:
    CAppFrame();
    ~CAppFrame() override;

    // Creates the window with its menu, title and icons and loads its accelerators.
    HWND CreateFrame();

    void RecalcFrameLayout(bool resizeBars);
    void DisableImageCommands();

    // Turns a bitmap (handed over) into a new document with its own tab. name is a
    // full path or an unsaved capture's title; saved says the file holds the image.
    bool CreateImageDocument(HBITMAP bitmap, const char* name, bool saved);
    // Opens the files one after the other as the Open command opens its choice, each
    // as a document or with a message saying why not.
    void OpenFiles(const std::vector<std::string>& paths);

    // The tab of a document window and its object, or -1 and null.
    int FindTab(HWND document, CImageFrame** frame = nullptr) const;

    // The frame's table for the MDI client's messages (see CMdiClientRouting).
    LRESULT MdiClientProc(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND MdiClient() const { return m_hWndMDIClient; }
    HWND Rebar() const { return m_hWndRebar; }
    HWND StatusBar() const { return m_statusBar.Handle(); }
    HWND TabStrip() const { return m_hWndTabStrip; }
    HWND ToolBar() const { return m_hWndToolBar; }
    CMenuBar& MenuBar() { return m_menuBar; }
    CEditorList& EditorList() { return m_editorList; }
    const CTrayIcon& TrayIcon() const { return m_trayIcon; }
    HWND ActiveDocument() const;

    // Accelerators, the MDI keys, the active document's own translation and the
    // menu bar's access keys.
    bool PreTranslateMessage(MSG* msg) override;
    // Pushes the changed command states into the toolbar and the status bar.
    void OnIdle(int idleCount) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnCreate();
    LRESULT OnNotify(NMHDR* header, LPARAM lParam);
    LRESULT OnClose();
    LRESULT OnQueryEndSession();
    bool CloseAllDocuments();
    void SaveAndReleaseForExit();
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy();
    void OnOpen();
    void OnDropFiles(HDROP drop);
    void AdoptOpenedImage(HBITMAP bitmap, const char* path);
    void OnTabSelChange();
    void OnDocPathChanged(HWND document, const char* path);
    void OnDocActivated(HWND document);
    LRESULT OnMdiDestroy(HWND document);
    bool OnToolTipText(NMHDR* header);
    void OnEditorDropDown(const NMTOOLBARA& notify);

    void CreateMenuBar();
    void LoadEditorList();
    void CreateRebar();
    void ToggleIncludeCursor();
    void AddBand(HWND child, bool newRow);
    void CreateStatusBar();
    void CreateTabStrip();
    void CreateMdiClient();
    void ToggleToolBar();
    void ToggleStatusBar();
    void ShowFromTray();
    LRESULT OnHotKey(WPARAM id);
    void OnEnable(bool enabled);
    HWND CaptureWindow() const override { return Handle(); }
    bool CanBeRecalled() const override { return m_trayIcon.IsAdded(); }
    bool AdoptCapture(HBITMAP bitmap, const char* name, bool saved) override;

    HWND m_hWndMDIClient = nullptr;
    HWND m_hWndRebar = nullptr;
    CStatusBar m_statusBar;
    HACCEL m_hAccel = nullptr;
    bool m_bLoopHooked = false;
    HWND m_hWndTabStrip = nullptr;
    CMdiClientRouting m_mdiClientRouting;
    HWND m_hWndToolBar = nullptr;
    CToolBarImages m_images;
    bool m_bToolBarVisible = true;
    CEditorList m_editorList;  // outlives the menu bar, which draws its icons
    CMenuBar m_menuBar;
    HMENU m_hMenuDefault = nullptr;  // menu 128, owned by the menu bar
    CTrayIcon m_trayIcon;
    CCaptureWorkflow m_captureWorkflow{*this};
    bool m_bHotkeysLive = false;  // registered from creation until the close
};
