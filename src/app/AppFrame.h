#pragma once
#include "app/MenuImages.h"
#include "app/DocumentTabs.h"
#include "app/EditorLauncher.h"
#include "app/FileOpener.h"
#include "app/FrameBars.h"
#include "app/HandedFilesReceiver.h"
#include "app/PinBoard.h"
#include "app/TextReader.h"
#include "app/FrameAnnotationTools.h"
#include "app/FrameCapture.h"
#include "app/TrayAndHotkeys.h"
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
                  private CDocumentTabs::IOwner {
public:
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
    HWND AnnotationToolBar() const { return m_annotation.Bar().Handle(); }
    const CAnnotationToolBar& AnnotationBar() const { return m_annotation.Bar(); }
    CAnnotationTools& AnnotationTools() { return m_annotation.Tools(); }
    CMenuBar& MenuBar() { return m_menuBar; }
    CEditorList& EditorList() { return m_editorList; }
    const CTrayIcon& TrayIcon() const { return m_trayAndHotkeys.Icon(); }
    CCaptureWorkflow& CaptureWorkflow() { return m_capture.Workflow(); }
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
    void OnEnable(bool enabled);
    void OnDpiChanged(const CDpiScale& dpi, const RECT& suggested);
    void OnDocumentCreated(CImageFrame& document) override;
    void OnLastDocumentClosed() override;

    HACCEL m_hAccel = nullptr;
    bool m_bLoopHooked = false;
    CEditorList m_editorList;  // outlives the menu bar, which draws its icons
    CMenuBar m_menuBar;
    CFrameBars m_bars{m_menuBar};
    CFrameAnnotationTools m_annotation{m_bars, m_documents};
    CMenuImages m_menuImages{m_annotation.Bar(), m_editorList};
    CEditorLauncher m_editorLauncher{m_editorList};
    CDocumentTabs m_documents{*this, m_menuBar, m_editorLauncher};
    CFileOpener m_files{m_documents};
    CPinBoard m_pins{m_documents};
    CTextReader m_textReader{m_documents};
    CTrayAndHotkeys m_trayAndHotkeys{m_menuBar};
    CFrameCapture m_capture{*this, m_documents, m_pins, m_textReader, m_trayAndHotkeys.Icon(), m_annotation.Tools()};
    CHandedFilesReceiver m_handedFiles{m_files, m_capture.Workflow()};
};
