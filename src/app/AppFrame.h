#pragma once
#include "annotate/AnnotationTools.h"
#include "app/AnnotationToolBar.h"
#include "app/MenuImages.h"
#include "app/DocumentTabs.h"
#include "app/EditorLauncher.h"
#include "app/FileOpener.h"
#include "app/FrameBars.h"
#include "app/HandedFilesReceiver.h"
#include "app/PinBoard.h"
#include "app/TrayIcon.h"
#include "capture/CaptureHost.h"
#include "capture/CaptureWorkflow.h"
#include "editors/EditorList.h"
#include "ui/MenuBar.h"
#include "ui/MessageLoop.h"
#include "ui/Window.h"

// The program's one top-level window: an MDI frame with a rebar (menu bar, toolbar and,
// while a document is open, the annotation toolbar) on top, the documents with their
// tabs, and a status bar. It handles its own commands and passes every other one to the
// active document. It holds the annotation tools that every document draws with.
class CAppFrame : public CWindow,
                  public ILoopMessageFilter,
                  public IIdleHandler,
                  private ICaptureHost,
                  private CDocumentTabs::IOwner {
public:
    static const char kClassName[];
    // The answer to WM_COPYDATA with the files of a later start, once they are taken.
    static constexpr LRESULT kFilesTaken = 1;

    CAppFrame();
    ~CAppFrame() override;

    // Creates the window with its menu, title and icons and loads its accelerators.
    HWND CreateFrame();

    void RecalcFrameLayout(bool resizeBars) override;
    void DisableImageCommands();

    CDocumentTabs& Documents() { return m_documents; }
    CFileOpener& Files() { return m_files; }
    CHandedFilesReceiver& HandedFiles() { return m_handedFiles; }
    HWND MdiClient() const { return m_documents.Client(); }
    HWND Rebar() const { return m_bars.Rebar(); }
    HWND StatusBar() const { return m_bars.StatusBar(); }
    HWND TabStrip() const { return m_documents.TabStrip(); }
    HWND ToolBar() const { return m_bars.ToolBar(); }
    HWND AnnotationToolBar() const { return m_annotationBar.Handle(); }
    const CAnnotationToolBar& AnnotationBar() const { return m_annotationBar; }
    CAnnotationTools& AnnotationTools() { return m_annotationTools; }
    CMenuBar& MenuBar() { return m_menuBar; }
    CEditorList& EditorList() { return m_editorList; }
    const CTrayIcon& TrayIcon() const { return m_trayIcon; }
    const CCaptureWorkflow& CaptureWorkflow() const { return m_captureWorkflow; }
    CPinBoard& Pins() { return m_pins; }
    HWND ActiveDocument() const { return m_documents.ActiveDocument(); }

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
    void SaveAndReleaseForExit();
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy();

    void LoadEditorList();
    void LoadAnnotationTools();
    void OnAnnotationChanged(unsigned properties);
    void CheckToolItem(HMENU popup) const;
    void ToggleIncludeCursor();
    void ChooseCountdown(UINT command);
    void CheckCountdownItem(HMENU popup) const;
    void ShowFromTray();
    LRESULT OnHotKey(WPARAM id);
    void OnEnable(bool enabled);
    void OnDpiChanged(const CDpiScale& dpi, const RECT& suggested);
    void WidenForToolBar();
    HWND CaptureWindow() const override { return Handle(); }
    bool CanBeRecalled() const override { return m_trayIcon.IsAdded(); }
    bool AdoptCapture(HBITMAP bitmap, const char* name, bool saved) override;
    void ShowCountdown(int secondsLeft) override;
    bool CopyCapture(HBITMAP bitmap) override;
    void AnnounceCapture(const char* savedPath, bool copied) override;
    void PinCapture(HBITMAP bitmap, POINT origin) override { m_pins.Pin(bitmap, origin); }
    bool HidePins() override { return m_pins.HideAll(); }
    void CaptureEnded() override { m_handedFiles.OnCaptureEnded(); }
    void ShowPins() override { m_pins.ShowAll(); }
    void PinActiveImage();
    void OnDocumentCreated(CImageFrame& document) override;
    void OnLastDocumentClosed() override;

    HACCEL m_hAccel = nullptr;
    bool m_bLoopHooked = false;
    CEditorList m_editorList;  // outlives the menu bar, which draws its icons
    CMenuBar m_menuBar;
    CAnnotationTools m_annotationTools;
    CAnnotationToolBar m_annotationBar{m_annotationTools};
    CMenuImages m_menuImages{m_annotationBar, m_editorList};
    char m_szAnnotationFile[MAX_PATH] = {};  // lumigrab.ini beside the program, where the look is kept
    bool m_bAnnotationToolsSaved = true;
    CFrameBars m_bars{m_menuBar};
    CEditorLauncher m_editorLauncher{m_editorList};
    CDocumentTabs m_documents{*this, m_menuBar, m_editorLauncher};
    CFileOpener m_files{m_documents};
    CHandedFilesReceiver m_handedFiles{m_files, m_captureWorkflow};
    CPinBoard m_pins{m_documents};
    CTrayIcon m_trayIcon;
    CCaptureWorkflow m_captureWorkflow{*this};
    bool m_bHotkeysLive = false;  // registered from creation until the close
};
