#include "app/AppFrame.h"

#include <commctrl.h>

#include "app/AppMessages.h"
#include "app/Application.h"
#include "app/AboutDialog.h"
#include "app/FrameClass.h"
#include "app/FramePlacement.h"
#include "app/HelpFile.h"
#include "capture/CaptureEngine.h"
#include "document/AnnotationTextBox.h"
#include "document/ToolBarTips.h"
#include "editors/EditorsDialog.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"
#include "settings/Settings.h"
#include "ui/UpdateUI.h"
#include "util/FastString.h"

CAppFrame::CAppFrame() = default;

CAppFrame::~CAppFrame()
{
    DestroyWindow();
    if (m_hAccel)
        DestroyAcceleratorTable(m_hAccel);
}

HWND CAppFrame::CreateFrame()
{
    RegisterFrameClass();
    Vorn::CFastString<64> title;
    title.LoadString(IDR_MAINFRAME);
    CMenuOwner menu(LoadMenuA(g_app.Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME)));
    HWND hWnd = Create(kFrameClassName, title.GetString(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                       WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, nullptr, menu.get());
    if (!hWnd)
        return nullptr;
    menu.release();  // the frame destroys its menu
    m_hAccel = LoadAcceleratorsA(g_app.Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    StepAsideFromOtherCopy(hWnd);
    WidenToClientWidth(hWnd, m_bars.ToolBarRowWidth());
    return hWnd;
}

LRESULT CAppFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_trayAndHotkeys.OnMessage(msg, wParam, lParam))
        return 0;
    switch (msg) {
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam), lParam);
    case WM_ENABLE:
        OnEnable(wParam != 0);
        break;
    case WM_COPYDATA:
        return m_handedFiles.OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? kFilesTaken : 0;
    case WM_APP_OPEN_HANDED_FILES:
        m_handedFiles.OpenWaitingFiles();
        return 0;
    case WM_CREATE:
        return OnCreate();
    case WM_SETTINGCHANGE:
        if (m_menuBar.Handle())
            SendMessageA(m_menuBar.Handle(), WM_SETTINGCHANGE, wParam, lParam);
        m_documents.PassSettingChange(wParam, lParam);
        RecalcFrameLayout(true);
        return 0;
    case WM_CLOSE:
        return OnClose();
    case WM_QUERYENDSESSION:
        return OnQueryEndSession();
    case WM_ENDSESSION:
        if (wParam)
            SaveAndReleaseForExit();
        return 0;
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam, lParam);
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_DROPFILES:
        m_files.OpenDroppedFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_INITMENUPOPUP:
        return OnInitMenuPopup(wParam, lParam);
    case WM_SIZE:
        // Not passed on: the default frame processing would stretch the MDI client
        // over the bars.
        if (wParam != SIZE_MINIMIZED)
            RecalcFrameLayout(true);
        return 0;
    case WM_SHOWWINDOW:
        // What changed while the frame was away (a capture's new document) would reach
        // the bars only when the program is next idle, and draw them a second time.
        if (wParam)
            OnIdle(0);
        else
            m_documents.PauseCoveredDocuments();
        break;
    case WM_WINDOWPOSCHANGED:
        if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)
            m_documents.ResumeCoveredDocuments();
        break;
    case WM_SETFOCUS:
        if (MdiClient())
            SetFocus(MdiClient());
        // Not every window system keeps the topmost pins over a window that takes the
        // keyboard; they go back on top when what it does about that is through.
        m_pins.RaiseOverFrameSoon(Handle(), WM_APP_RAISE_PINS);
        return 0;
    case WM_APP_RAISE_PINS:
        m_pins.RaiseOverFrame();
        return 0;
    case WM_MENUSELECT:
        m_bars.ShowMenuHelp(wParam, lParam);
        break;
    case WM_DPICHANGED:
        OnDpiChanged(CDpiScale(HIWORD(wParam)), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        return OnDestroy();
    }
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CAppFrame::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcA(Handle(), MdiClient(), msg, wParam, lParam);
}

LRESULT CAppFrame::OnCreate()
{
    m_bars.Create(Handle());
    m_annotation.Start(Handle());
    if (m_documents.Create(Handle()))
        m_menuBar.SetMdiClient(MdiClient());
    g_settings.Load();
    LoadEditorList();

    g_updateUI.AttachToolBar(m_bars.ToolBar());
    g_updateUI.AttachStatusBar(&m_bars.Status());
    m_capture.InitCommandStates();
    DisableImageCommands();

    m_trayAndHotkeys.Start(Handle(), m_capture.Workflow());
    m_handedFiles.Attach(Handle());
    // Files dropped anywhere on the frame, its documents included, come here.
    DragAcceptFiles(Handle(), TRUE);

    if (CMessageLoop* loop = g_app.GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
        m_bLoopHooked = true;
    }
    return 0;
}

// Moved to a monitor of another DPI (per-monitor awareness): every bar is sized again
// by the code that sized it at creation, then the frame takes the rectangle Windows
// proposes for the new DPI.
void CAppFrame::OnDpiChanged(const CDpiScale& dpi, const RECT& suggested)
{
    m_bars.ChangeDpi(dpi);
    m_annotation.ChangeDpi(dpi);
    m_bars.FitBands();
    m_documents.ChangeDpi(dpi);
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RecalcFrameLayout(true);
}

// The editors' drop-down menu is drawn by the menu bar, with each editor's own icon.
void CAppFrame::LoadEditorList()
{
    Vorn::CFastString<64> settingsText;
    settingsText.LoadString(ID_EDITOR_SETTINGS);
    m_editorList.SetSettingsText(settingsText.GetString());
    m_editorList.Load();
    m_editorList.BuildMenu();
    m_menuBar.SetImageSource(&m_menuImages);
}

void CAppFrame::RecalcFrameLayout(bool resizeBars)
{
    RECT area{};
    GetClientRect(Handle(), &area);
    m_bars.Place(area, resizeBars);
    if (area.bottom < area.top)
        area.bottom = area.top;
    m_documents.Layout(area);
}

void CAppFrame::DisableImageCommands()
{
    for (UINT id : {ID_ZOOM_IN, ID_ZOOM_OUT, ID_ZOOM_FIT, ID_ZOOM_ACTUAL, ID_EDITORS, ID_EDIT_COPY, ID_FILE_SAVE,
                    ID_FILE_PRINT, ID_ANNOTATE_UNDO, ID_ANNOTATE_REDO})
        g_updateUI.EnableCommand(id, false);
}

LRESULT CAppFrame::OnNotify(NMHDR* header, LPARAM lParam)
{
    switch (header->code) {
    case TCN_SELCHANGE:
        if (header->hwndFrom == TabStrip()) {
            m_documents.OnTabSelChange();
            return 0;
        }
        break;
    case RBN_AUTOSIZE:
        if (header->hwndFrom == Rebar())
            RecalcFrameLayout(false);
        return 0;
    case TTN_GETDISPINFOA:
    case TTN_GETDISPINFOW:
        if (FillToolBarTip(header))
            return 0;
        break;
    case TBN_DROPDOWN:
        if (header->hwndFrom == ToolBar()) {
            m_bars.DropDownEditors(*reinterpret_cast<const NMTOOLBARA*>(header), m_editorList.GetMenu());
            return TBDDRET_DEFAULT;
        }
        if (m_annotation.OnDropDown(*reinterpret_cast<const NMTOOLBARA*>(header)))
            return TBDDRET_DEFAULT;
        break;
    }
    return DefaultProc(WM_NOTIFY, header->idFrom, lParam);
}

LRESULT CAppFrame::OnClose()
{
    // A close from outside (an installer) while a modal window is open or a capture
    // runs would take the window from under them.
    const CCaptureWorkflow& capture = m_capture.Workflow();
    if (!IsWindowEnabled(Handle()) || (capture.IsRunning() && !capture.IsCountingDown()))
        return 0;
    // No capture comes while the user answers about unsaved images, or after.
    m_capture.Workflow().CancelCountdown();
    ShowWindow(Handle(), SW_SHOW);
    // Files a later start hands over while the user answers about unsaved images would
    // be lost with this copy.
    m_handedFiles.SetClosing(true);
    if (!m_documents.CloseAll()) {
        m_handedFiles.SetClosing(false);
        return 0;
    }
    SaveAndReleaseForExit();
    return DefaultProc(WM_CLOSE, 0, 0);
}

// Logging off asks about unsaved images as closing does; the user's Cancel keeps the
// session going.
LRESULT CAppFrame::OnQueryEndSession()
{
    if (ActiveDocument())
        ShowWindow(Handle(), SW_SHOW);
    return m_documents.CloseAll() ? TRUE : FALSE;
}

// The last steps of a run, whether the frame closes or the session ends under it.
void CAppFrame::SaveAndReleaseForExit()
{
    m_capture.Workflow().CancelCountdown();
    m_handedFiles.SetClosing(true);
    m_trayAndHotkeys.Stop();
    g_settings.Save();
    m_editorList.Save();
    m_annotation.SaveIfPending();
}

LRESULT CAppFrame::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    // Alt, F10 and access keys open the menu bar, which the system does not know of.
    if ((wParam & 0xFFF0) == SC_KEYMENU && m_menuBar.OnKeyMenu(lParam))
        return 0;
    LRESULT result = DefaultProc(WM_SYSCOMMAND, wParam, lParam);
    if (wParam == SC_MINIMIZE)
        m_trayAndHotkeys.OnMinimised();
    return result;
}

LRESULT CAppFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (m_capture.OnCommand(LOWORD(wParam)) || m_trayAndHotkeys.OnCommand(LOWORD(wParam)))
        return 0;
    switch (LOWORD(wParam)) {
    case ID_FILE_OPEN:
        m_files.OpenChosenFile();
        return 0;
    case ID_VIEW_TOOLBAR:
        m_bars.ToggleToolBar();
        RecalcFrameLayout(true);
        return 0;
    case ID_APP_ABOUT:
        ShowAboutBox(GetActiveWindow());
        return 0;
    case ID_VIEW_OPTIONS:
        g_settings.ShowOptions([] { return g_captureEngine.CreateSkinManager(); });
        return 0;
    case ID_HELP_TOPICS:
        OpenHelpFile();
        return 0;
    case ID_EDITOR_SETTINGS:
        CEditorsDlg(m_editorList).DoModal(GetActiveWindow());
        return 0;
    case ID_VIEW_STATUS_BAR:
        m_bars.ToggleStatusBar();
        RecalcFrameLayout(true);
        return 0;
    case ID_IMAGE_PIN:
        m_pins.PinDocument(ActiveDocument(), Handle());
        return 0;
    case ID_IMAGE_READ_TEXT:
        m_textReader.ReadDocument(ActiveDocument(), Handle());
        return 0;
    case ID_APP_EXIT:
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return 0;
    }
    if (m_annotation.OnCommand(wParam, lParam))
        return 0;
    if (m_documents.OnCommand(LOWORD(wParam)))
        return 0;
    if (HWND document = ActiveDocument())
        SendMessageA(document, WM_COMMAND, wParam, lParam);
    return DefaultProc(WM_COMMAND, wParam, lParam);
}

// A modal window of the program disables the frame.
void CAppFrame::OnEnable(bool enabled)
{
    // Files a later start handed over while the modal window was open.
    if (enabled)
        PostMessageA(Handle(), WM_APP_OPEN_HANDED_FILES, 0, 0);
    m_trayAndHotkeys.OnEnable(enabled);
}

void CAppFrame::OnDocumentCreated(CImageFrame& document)
{
    m_annotation.OnDocumentCreated(document);
}

void CAppFrame::OnLastDocumentClosed()
{
    m_annotation.OnLastDocumentClosed();
    // The document's menu went with its window.
    m_menuBar.AttachMenu(m_bars.FrameMenu());
    RecalcFrameLayout(false);
    DisableImageCommands();
}

LRESULT CAppFrame::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    if (!HIWORD(lParam)) {  // not the system menu
        g_updateUI.UpdateMenu(reinterpret_cast<HMENU>(wParam));
        m_annotation.CheckToolItem(reinterpret_cast<HMENU>(wParam));
        m_capture.CheckCountdownItem(reinterpret_cast<HMENU>(wParam));
    }
    return DefaultProc(WM_INITMENUPOPUP, wParam, lParam);
}

LRESULT CAppFrame::OnDestroy()
{
    m_pins.CloseAll();
    if (m_bLoopHooked) {
        if (CMessageLoop* loop = g_app.GetMessageLoop()) {
            loop->RemoveMessageFilter(this);
            loop->RemoveIdleHandler(this);
        }
        m_bLoopHooked = false;
    }
    g_updateUI.AttachToolBar(nullptr);
    g_updateUI.AttachStatusBar(nullptr);
    // Only a top-level frame ends the program.
    if (!(GetWindowLongPtrA(Handle(), GWL_STYLE) & (WS_CHILD | WS_POPUP)))
        PostQuitMessage(1);
    return 0;
}

bool CAppFrame::PreTranslateMessage(MSG* msg)
{
    if (m_capture.Workflow().IsStaleRequest(*msg))
        return true;
    // A window of its own beside the frame with controls to tab between (the text read
    // from a picture) has the dialog keys, and none of the frame's.
    const HWND root = msg->hwnd ? GetAncestor(msg->hwnd, GA_ROOT) : nullptr;
    if (root && root != Handle() && (GetWindowLongPtrA(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT))
        return IsDialogMessageA(root, msg) != FALSE;
    // Keys typed into a document's text box are the box's, Ctrl+C and Ctrl+Z too.
    if (m_hAccel && !CAnnotationTextBox::IsTextBox(msg->hwnd) && !CPinWindow::IsPin(msg->hwnd)
        && TranslateAcceleratorA(Handle(), m_hAccel, msg))
        return true;
    if (MdiClient() && TranslateMDISysAccel(MdiClient(), msg))
        return true;
    return m_menuBar.TranslateAccessKey(*msg);
}

void CAppFrame::OnIdle(int)
{
    g_updateUI.UpdateToolBar();
    g_updateUI.UpdateStatusBar();
    m_menuBar.SyncMdiChild();
}
