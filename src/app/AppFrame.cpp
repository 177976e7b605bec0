#include "app/AppFrame.h"

#include <commctrl.h>
#include <shellapi.h>
#include <cstring>

#include "app/AppMessages.h"
#include "app/Application.h"
#include "app/AboutDialog.h"
#include "app/HelpFile.h"
#include "app/MainToolBar.h"
#include "capture/CaptureEngine.h"
#include "document/DocumentMessages.h"
#include "document/ImageFileDialogs.h"
#include "document/ImageFrame.h"
#include "editors/EditorsDialog.h"
#include "res/resource.h"
#include "scoped/ScopedHandles.h"
#include "settings/Settings.h"
#include "ui/RedrawPause.h"
#include "ui/UpdateUI.h"
#include "util/CharSearch.h"
#include "util/FastString.h"

namespace {
const char kFrameClass[] = "LumigrabFrame";
constexpr UINT kMdiClientId = 0xE900;
constexpr UINT kFirstMdiChildId = 0xFF00;
constexpr UINT kFirstBandId = 60160;
constexpr UINT kToolBarBandId = kFirstBandId + 1;
constexpr UINT kForwardMessage = 0x037F;
constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

void RegisterFrameClass()
{
    HINSTANCE instance = g_app.Instance();
    WNDCLASSEXA wc{};
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kFrameClass;
    CWindow::RegisterClass(wc);
}

// A bar counts by its own visibility: a document made while the frame is hidden (by
// a capture) must still be laid out around the bars.
bool IsBarShown(HWND bar)
{
    return bar && (GetWindowLongPtrA(bar, GWL_STYLE) & WS_VISIBLE);
}

int WindowHeight(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

BOOL CALLBACK SendToChild(HWND child, LPARAM message)
{
    const MSG* pMessage = reinterpret_cast<const MSG*>(message);
    SendMessageA(child, pMessage->message, pMessage->wParam, pMessage->lParam);
    return TRUE;
}

// System broadcasts reach only top-level windows; the windows inside the documents
// need some of them too (the wheel's lines per notch).
void SendToDescendants(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam)
{
    MSG message{};
    message.message = msg;
    message.wParam = wParam;
    message.lParam = lParam;
    EnumChildWindows(parent, SendToChild, reinterpret_cast<LPARAM>(&message));
}

// The part of a command's string before the line feed: its status-bar help.
void LoadCommandHelp(UINT id, char* help, int size)
{
    Vorn::CFastString<64> text;
    text.LoadString(id);
    const char* lineFeed = strchr(text.GetString(), '\n');
    const int length = lineFeed ? static_cast<int>(lineFeed - text.GetString()) : static_cast<int>(text.GetLength());
    lstrcpynA(help, text.GetString(), length + 1 < size ? length + 1 : size);
}
}

CAppFrame::CAppFrame() : m_mdiClientRouting(*this) {}

CAppFrame::~CAppFrame()
{
    DestroyWindow();
    if (m_hAccel)
        DestroyAcceleratorTable(m_hAccel);
}

HWND CAppFrame::CreateFrame()
{
    WNDCLASSEXA existing{};
    if (!GetClassInfoExA(g_app.Instance(), kFrameClass, &existing))
        RegisterFrameClass();

    Vorn::CFastString<64> title;
    title.LoadString(IDR_MAINFRAME);
    CMenuOwner menu(LoadMenuA(g_app.Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME)));
    HWND hWnd = Create(kFrameClass, title.GetString(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                       WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, nullptr, menu.get());
    if (!hWnd)
        return nullptr;
    menu.release();  // the frame destroys its menu
    m_hAccel = LoadAcceleratorsA(g_app.Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    return hWnd;
}

HWND CAppFrame::ActiveDocument() const
{
    if (!m_hWndMDIClient)
        return nullptr;
    return reinterpret_cast<HWND>(SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
}

LRESULT CAppFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == CTrayIcon::TaskbarCreatedMessage()) {
        m_trayIcon.AddAgain();
        return 0;
    }
    switch (msg) {
    case WM_APP_TRAY_NOTIFY:
        if (m_trayIcon.OnNotify(lParam, m_menuBar))
            return 0;
        break;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam), lParam);
    case WM_HOTKEY:
        return OnHotKey(wParam);
    case WM_ENABLE:
        OnEnable(wParam != 0);
        break;
    case WM_APP_DOC_PATH_CHANGED:
        OnDocPathChanged(reinterpret_cast<HWND>(wParam), reinterpret_cast<const char*>(lParam));
        return 0;
    case WM_CREATE:
        return OnCreate();
    case WM_SETTINGCHANGE:
        if (m_menuBar.Handle())
            SendMessageA(m_menuBar.Handle(), WM_SETTINGCHANGE, wParam, lParam);
        if (m_hWndMDIClient)
            SendToDescendants(m_hWndMDIClient, WM_SETTINGCHANGE, wParam, lParam);
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
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_INITMENUPOPUP:
        return OnInitMenuPopup(wParam, lParam);
    case WM_SIZE:
        // Not passed on: the default frame processing would stretch the MDI client
        // over the bars.
        if (wParam != SIZE_MINIMIZED)
            RecalcFrameLayout(true);
        return 0;
    case WM_SETFOCUS:
        if (m_hWndMDIClient)
            SetFocus(m_hWndMDIClient);
        return 0;
    case WM_MENUSELECT:
        return OnMenuSelect(wParam, lParam);
    case WM_DESTROY:
        return OnDestroy();
    }
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CAppFrame::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcA(Handle(), m_hWndMDIClient, msg, wParam, lParam);
}

LRESULT CAppFrame::OnCreate()
{
    m_images.Load();
    CreateMenuBar();
    m_hWndToolBar = CreateMainToolBar(Handle(), m_images);
    CreateRebar();
    CreateStatusBar();
    CreateTabStrip();
    CreateMdiClient();
    m_mdiClientRouting.Subclass(m_hWndMDIClient);
    m_menuBar.SetMdiClient(m_hWndMDIClient);
    g_settings.Load();
    g_settings.RegisterHotkeys(Handle());
    m_bHotkeysLive = true;
    LoadEditorList();

    g_updateUI.AttachToolBar(m_hWndToolBar);
    g_updateUI.AttachStatusBar(&m_statusBar);
    g_updateUI.CheckCommand(ID_CAPTURE_INCLUDE_CURSOR, g_settings.m_bIncludeCursor != 0);
    g_updateUI.CheckCommand(ID_VIEW_TOOLBAR, true);
    g_updateUI.CheckCommand(ID_VIEW_STATUS_BAR, true);
    DisableImageCommands();

    m_trayIcon.Add(Handle());
    // Files dropped anywhere on the frame, its documents included, come here.
    DragAcceptFiles(Handle(), TRUE);

    if (CMessageLoop* loop = g_app.GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
        m_bLoopHooked = true;
    }
    return 0;
}

// The menu bar takes over the frame's own menu and shows the toolbar's pictures
// beside the same commands.
void CAppFrame::CreateMenuBar()
{
    HMENU menu = GetMenu(Handle());
    if (!m_menuBar.Create(Handle(), Handle(), menu))
        return;
    m_hMenuDefault = menu;
    SetMenu(Handle(), nullptr);
    m_menuBar.SetImages(m_images.Normal(), m_images.Disabled(), CToolBarImages::kCommands, 13);
}

// The editors' drop-down menu is drawn by the menu bar, with each editor's own icon.
void CAppFrame::LoadEditorList()
{
    Vorn::CFastString<64> settingsText;
    settingsText.LoadString(ID_EDITOR_SETTINGS);
    m_editorList.SetSettingsText(settingsText.GetString());
    m_editorList.Load();
    m_editorList.BuildMenu();
    m_menuBar.SetImageSource(&m_editorList);
}

void CAppFrame::CreateRebar()
{
    m_hWndRebar = CreateWindowExA(0, REBARCLASSNAMEA, nullptr,
                                  kBarStyle | RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_AUTOSIZE | CCS_NODIVIDER, 0, 0,
                                  0, 0, Handle(), reinterpret_cast<HMENU>(ID_VIEW_TOOLBAR), g_app.Instance(),
                                  nullptr);
    if (!m_hWndRebar)
        return;
    REBARINFO info{};
    info.cbSize = sizeof(info);
    if (!SendMessageA(m_hWndRebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info))) {
        ::DestroyWindow(m_hWndRebar);
        m_hWndRebar = nullptr;
        return;
    }
    AddBand(m_menuBar.Handle(), false);
    AddBand(m_hWndToolBar, true);
}

// Bands are numbered in the order they are added, from 60160.
void CAppFrame::AddBand(HWND child, bool newRow)
{
    if (!child)
        return;
    SIZE ideal{};
    if (child == m_menuBar.Handle())
        ideal = m_menuBar.GetIdealSize();
    else
        SendMessageA(child, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
    RECT rect{};
    GetWindowRect(child, &rect);

    REBARBANDINFOA band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_ID | RBBIM_SIZE | RBBIM_IDEALSIZE;
    band.fStyle = RBBS_CHILDEDGE | (newRow ? RBBS_BREAK : 0);
    band.hwndChild = child;
    band.cxMinChild = 0;
    band.cyMinChild = ideal.cy > 0 ? ideal.cy : rect.bottom - rect.top;
    band.cx = ideal.cx;
    band.cxIdeal = ideal.cx;
    band.wID = kFirstBandId + static_cast<UINT>(SendMessageA(m_hWndRebar, RB_GETBANDCOUNT, 0, 0));
    SendMessageA(m_hWndRebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
}

void CAppFrame::CreateStatusBar()
{
    Vorn::CFastString<64> ready;
    ready.LoadString(IDS_READY);
    if (!m_statusBar.CreateBar(Handle(), ready.GetString(), kBarStyle | SBARS_SIZEGRIP, ID_VIEW_STATUS_BAR))
        return;
    static const UINT panes[] = {0, ID_INDICATOR_SIZE, ID_INDICATOR_ZOOM};
    m_statusBar.SetPanes(panes, 3);
}

void CAppFrame::CreateTabStrip()
{
    m_hWndTabStrip = CreateWindowExA(0, WC_TABCONTROLA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, Handle(),
                                     nullptr, g_app.Instance(), nullptr);
    if (m_hWndTabStrip)
        SendMessageA(m_hWndTabStrip, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
}

void CAppFrame::CreateMdiClient()
{
    // The scroll bars belong to the client, not to the frame.
    const DWORD scrollBars = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)) & (WS_HSCROLL | WS_VSCROLL);
    if (scrollBars)
        SetWindowLongPtrA(Handle(), GWL_STYLE, GetWindowLongPtrA(Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(scrollBars));

    CLIENTCREATESTRUCT create{};
    create.hWindowMenu = nullptr;
    create.idFirstChild = kFirstMdiChildId;
    m_hWndMDIClient = CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", nullptr,
                                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                          MDIS_ALLCHILDSTYLES | scrollBars,
                                      0, 0, 0, 0, Handle(), reinterpret_cast<HMENU>(kMdiClientId),
                                      g_app.Instance(), &create);
    if (!m_hWndMDIClient)
        return;
    SetWindowPos(m_hWndMDIClient, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RecalcFrameLayout(true);
}

void CAppFrame::RecalcFrameLayout(bool resizeBars)
{
    RECT area{};
    GetClientRect(Handle(), &area);

    if (IsBarShown(m_hWndRebar)) {
        if (resizeBars) {
            SendMessageA(m_hWndRebar, WM_SIZE, 0, 0);
            InvalidateRect(m_hWndRebar, nullptr, FALSE);
        }
        area.top += WindowHeight(m_hWndRebar);
    }
    if (IsBarShown(m_statusBar.Handle())) {
        if (resizeBars)
            SendMessageA(m_statusBar.Handle(), WM_SIZE, 0, 0);
        area.bottom -= WindowHeight(m_statusBar.Handle());
    }
    if (area.bottom < area.top)
        area.bottom = area.top;

    constexpr UINT placement = SWP_NOZORDER | SWP_NOACTIVATE;
    int top = area.top;
    if (m_hWndTabStrip) {
        SetWindowPos(m_hWndTabStrip, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     placement);
        if (SendMessageA(m_hWndTabStrip, TCM_GETITEMCOUNT, 0, 0) > 0) {
            RECT display = area;
            SendMessageA(m_hWndTabStrip, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
            top = display.top + 2;
        }
    }
    if (m_hWndMDIClient)
        SetWindowPos(m_hWndMDIClient, nullptr, area.left, top, area.right - area.left,
                     area.bottom > top ? area.bottom - top : 0, placement);
}

void CAppFrame::DisableImageCommands()
{
    for (UINT id : {ID_ZOOM_IN, ID_ZOOM_OUT, ID_ZOOM_FIT, ID_ZOOM_ACTUAL, ID_EDITORS, ID_EDIT_COPY, ID_FILE_SAVE})
        g_updateUI.EnableCommand(id, false);
}

LRESULT CAppFrame::OnNotify(NMHDR* header, LPARAM lParam)
{
    switch (header->code) {
    case TCN_SELCHANGE:
        if (header->hwndFrom == m_hWndTabStrip) {
            OnTabSelChange();
            return 0;
        }
        break;
    case RBN_AUTOSIZE:
        if (header->hwndFrom == m_hWndRebar)
            RecalcFrameLayout(false);
        return 0;
    case TTN_GETDISPINFOA:
    case TTN_GETDISPINFOW:
        if (OnToolTipText(header))
            return 0;
        break;
    case TBN_DROPDOWN:
        if (header->hwndFrom == m_hWndToolBar) {
            OnEditorDropDown(*reinterpret_cast<const NMTOOLBARA*>(header));
            return TBDDRET_DEFAULT;
        }
        break;
    }
    return DefaultProc(WM_NOTIFY, header->idFrom, lParam);
}

// Tooltips show the label part of the command's string.
bool CAppFrame::OnToolTipText(NMHDR* header)
{
    const UINT id = static_cast<UINT>(header->idFrom);
    if (id == 0)
        return false;
    char label[80];
    LoadCommandLabel(id, label, sizeof(label));
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        lstrcpynA(info->szText, label, sizeof(info->szText));
        info->lpszText = info->szText;
        info->hinst = nullptr;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        MultiByteToWideChar(CP_ACP, 0, label, -1, info->szText, sizeof(info->szText) / sizeof(info->szText[0]));
        info->lpszText = info->szText;
        info->hinst = nullptr;
    }
    return true;
}

// The menu opens below the button, its left edge at the button's.
void CAppFrame::OnEditorDropDown(const NMTOOLBARA& notify)
{
    if (notify.iItem != ID_EDITORS)
        return;
    const LRESULT index = SendMessageA(m_hWndToolBar, TB_COMMANDTOINDEX, ID_EDITORS, 0);
    RECT button{};
    if (!SendMessageA(m_hWndToolBar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button)))
        return;
    MapWindowPoints(m_hWndToolBar, nullptr, reinterpret_cast<POINT*>(&button), 2);
    // The button's tooltip, shown or due, would cover the menu's first item. A move
    // off every tool also stops a tip that is still waiting for its delay.
    HWND tips = reinterpret_cast<HWND>(SendMessageA(m_hWndToolBar, TB_GETTOOLTIPS, 0, 0));
    MSG away{m_hWndToolBar, WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1), 0, {}};
    SendMessageA(tips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&away));
    SendMessageA(tips, TTM_ACTIVATE, FALSE, 0);
    m_menuBar.TrackPopup(m_editorList.GetMenu(), 0, button.left, button.bottom);
    SendMessageA(tips, TTM_ACTIVATE, TRUE, 0);
}

LRESULT CAppFrame::OnClose()
{
    ShowWindow(Handle(), SW_SHOW);
    if (!CloseAllDocuments())
        return 0;
    SaveAndReleaseForExit();
    return DefaultProc(WM_CLOSE, 0, 0);
}

// Logging off asks about unsaved images as closing does; the user's Cancel keeps the
// session going.
LRESULT CAppFrame::OnQueryEndSession()
{
    if (ActiveDocument())
        ShowWindow(Handle(), SW_SHOW);
    return CloseAllDocuments() ? TRUE : FALSE;
}

// Documents are closed one by one; one that refuses (its owner cancelled the save
// prompt) stops there with everything else left in place.
bool CAppFrame::CloseAllDocuments()
{
    while (HWND document = ActiveDocument()) {
        SendMessageA(m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0);
        if (IsWindow(document))
            return false;
    }
    return true;
}

// The last steps of a run, whether the frame closes or the session ends under it.
void CAppFrame::SaveAndReleaseForExit()
{
    m_trayIcon.Remove();
    g_settings.UnregisterHotkeys(Handle());
    m_bHotkeysLive = false;
    g_settings.Save();
    m_editorList.Save();
}

LRESULT CAppFrame::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    // Alt, F10 and access keys open the menu bar, which the system does not know of.
    if ((wParam & 0xFFF0) == SC_KEYMENU && m_menuBar.OnKeyMenu(lParam))
        return 0;
    LRESULT result = DefaultProc(WM_SYSCOMMAND, wParam, lParam);
    // Minimised, the program lives only in the tray; without a tray icon it stays on
    // the taskbar, the only way back.
    if (wParam == SC_MINIMIZE && m_trayIcon.IsAdded())
        ShowWindow(Handle(), SW_HIDE);
    return result;
}

LRESULT CAppFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case ID_FILE_OPEN:
        OnOpen();
        return 0;
    case ID_CAPTURE_FULLSCREEN:
        m_captureWorkflow.Run(CCaptureWorkflow::kFullScreenCall);
        return 0;
    case ID_CAPTURE_WINDOW:
    case ID_CAPTURE_REGION:
    case ID_CAPTURE_OBJECT:
        m_captureWorkflow.Run(LOWORD(wParam) - ID_CAPTURE_FULLSCREEN);
        return 0;
    case ID_CAPTURE_INCLUDE_CURSOR:
        ToggleIncludeCursor();
        return 0;
    case ID_VIEW_TOOLBAR:
        ToggleToolBar();
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
        ToggleStatusBar();
        return 0;
    case ID_APP_EXIT:
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return 0;
    case ID_WINDOW_CASCADE:
        SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0);
        return 0;
    case ID_WINDOW_TILE_HORZ:
        SendMessageA(m_hWndMDIClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
        return 0;
    case ID_WINDOW_ARRANGE:
        SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0);
        return 0;
    case ID_TRAY_SHOW:
        ShowFromTray();
        return 0;
    case ID_TRAY_EXIT:
        ShowFromTray();
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return 0;
    }
    if (HWND document = ActiveDocument())
        SendMessageA(document, WM_COMMAND, wParam, lParam);
    return DefaultProc(WM_COMMAND, wParam, lParam);
}

LRESULT CAppFrame::OnHotKey(WPARAM id)
{
    if (id == CSettings::kFullScreenHotkeyId)
        m_captureWorkflow.Run(CCaptureWorkflow::kFullScreenCall);
    else if (id == CSettings::kModalHotkeyId)
        m_captureWorkflow.Run(-1);
    return 0;
}

// A modal window of the program disables the frame. The keys are then the user's: a
// hotkey control being edited must receive them, and a capture would hide the frame
// and leave the modal window behind its disabled owner.
void CAppFrame::OnEnable(bool enabled)
{
    if (!m_bHotkeysLive)
        return;
    if (enabled)
        g_settings.RestoreHotkeys(Handle());
    else
        g_settings.UnregisterHotkeys(Handle());
}

bool CAppFrame::AdoptCapture(HBITMAP bitmap, const char* name, bool saved)
{
    return CreateImageDocument(bitmap, name, saved);
}

void CAppFrame::ShowFromTray()
{
    ShowWindow(Handle(), SW_RESTORE);
    SetForegroundWindow(Handle());
}

void CAppFrame::ToggleIncludeCursor()
{
    g_settings.m_bIncludeCursor = !g_settings.m_bIncludeCursor;
    g_updateUI.CheckCommand(ID_CAPTURE_INCLUDE_CURSOR, g_settings.m_bIncludeCursor != 0);
    g_settings.m_bModified = 1;
}

void CAppFrame::ToggleToolBar()
{
    m_bToolBarVisible = !m_bToolBarVisible;
    if (m_hWndRebar) {
        const LRESULT index = SendMessageA(m_hWndRebar, RB_IDTOINDEX, kToolBarBandId, 0);
        SendMessageA(m_hWndRebar, RB_SHOWBAND, index, m_bToolBarVisible);
    }
    g_updateUI.CheckCommand(ID_VIEW_TOOLBAR, m_bToolBarVisible);
    RecalcFrameLayout(true);
}

void CAppFrame::ToggleStatusBar()
{
    HWND bar = m_statusBar.Handle();
    if (!bar)
        return;
    const bool show = !IsWindowVisible(bar);
    ShowWindow(bar, show ? SW_SHOWNOACTIVATE : SW_HIDE);
    g_updateUI.CheckCommand(ID_VIEW_STATUS_BAR, show);
    RecalcFrameLayout(true);
}

LRESULT CAppFrame::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    if (!HIWORD(lParam))  // not the system menu
        g_updateUI.UpdateMenu(reinterpret_cast<HMENU>(wParam));
    return DefaultProc(WM_INITMENUPOPUP, wParam, lParam);
}

// While a menu item is highlighted the status bar shows its help line.
LRESULT CAppFrame::OnMenuSelect(WPARAM wParam, LPARAM lParam)
{
    const UINT flags = HIWORD(wParam);
    if (m_statusBar.Handle()) {
        if (flags == 0xFFFF && !lParam) {
            m_statusBar.EndMenuHelp();
        } else {
            char help[80] = "";
            if (!(flags & (MF_POPUP | MF_SEPARATOR)))
                LoadCommandHelp(LOWORD(wParam), help, sizeof(help));
            m_statusBar.ShowMenuHelp(help);
        }
    }
    return DefaultProc(WM_MENUSELECT, wParam, lParam);
}

LRESULT CAppFrame::OnDestroy()
{
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
    if (m_captureWorkflow.IsStaleRequest(*msg))
        return true;
    if (m_hAccel && TranslateAcceleratorA(Handle(), m_hAccel, msg))
        return true;
    if (m_hWndMDIClient && TranslateMDISysAccel(m_hWndMDIClient, msg))
        return true;
    HWND document = ActiveDocument();
    if (document && SendMessageA(document, kForwardMessage, 0, reinterpret_cast<LPARAM>(msg)) != 0)
        return true;
    return m_menuBar.TranslateAccessKey(*msg);
}

void CAppFrame::OnIdle(int)
{
    g_updateUI.UpdateToolBar();
    g_updateUI.UpdateStatusBar();
    m_menuBar.SyncMdiChild();
}

LRESULT CAppFrame::MdiClientProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_APP_DOC_ACTIVATED:
        OnDocActivated(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_MDIDESTROY:
        return OnMdiDestroy(reinterpret_cast<HWND>(wParam));
    case WM_MDISETMENU: {
        // The menu bar shows the document's menu; the client only keeps the window
        // list, so it never puts a menu on the frame itself.
        if (wParam)
            m_menuBar.AttachMenu(reinterpret_cast<HMENU>(wParam));
        const LRESULT result = m_mdiClientRouting.CallClient(WM_MDISETMENU, 0, lParam);
        // A client that had no window menu before takes the new one without listing
        // the open windows in it, so the first document would be missing.
        m_mdiClientRouting.CallClient(WM_MDIREFRESHMENU, 0, 0);
        return result;
    }
    }
    return m_mdiClientRouting.CallClient(msg, wParam, lParam);
}

void CAppFrame::OnOpen()
{
    char path[MAX_PATH + 1] = {};
    AdoptOpenedImage(OpenImageFile(path), path);
}

void CAppFrame::OpenFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        AdoptOpenedImage(OpenImagePath(path.c_str()), path.c_str());
}

// The names are taken and the drop released before anything opens: a file that
// fails shows a message, and the drop's memory need not outlive it.
void CAppFrame::OnDropFiles(HDROP drop)
{
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        // Sized by the name itself: a cut name would open another file, or none.
        const UINT length = DragQueryFileA(drop, index, nullptr, 0);
        std::string path(length + 1, '\0');
        path.resize(DragQueryFileA(drop, index, &path[0], length + 1));
        if (!path.empty())
            paths.push_back(path);
    }
    DragFinish(drop);
    OpenFiles(paths);
}

// A bitmap the Open path read (null when it failed and said so) becomes a saved document.
void CAppFrame::AdoptOpenedImage(HBITMAP bitmap, const char* path)
{
    if (bitmap && !CreateImageDocument(bitmap, path, true))
        DeleteObject(bitmap);
}

bool CAppFrame::CreateImageDocument(HBITMAP bitmap, const char* name, bool saved)
{
    const char* title = FileNamePart(name);
    const bool documentWasActive = ActiveDocument() != nullptr;
    // The first document would redraw its scroll bars and frames at every step of its
    // creation, maximising and layout; the client is drawn once when all is done
    // instead. (A document created over a maximised one does the same on its own.)
    const CRedrawPause pause(documentWasActive ? nullptr : m_hWndMDIClient);
    CImageFrame* document = CImageFrame::Create(m_hWndMDIClient, title);
    if (!document)
        return false;
    if (!documentWasActive)
        SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(document->Handle()), 0);

    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>(title);
    item.lParam = reinterpret_cast<LPARAM>(document);
    const int count = static_cast<int>(SendMessageA(m_hWndTabStrip, TCM_GETITEMCOUNT, 0, 0));
    const int index = static_cast<int>(SendMessageA(m_hWndTabStrip, TCM_INSERTITEMA, count, reinterpret_cast<LPARAM>(&item)));
    SendMessageA(m_hWndTabStrip, TCM_SETCURSEL, index, 0);

    document->View().SetImage(bitmap, name, saved, &m_editorList);
    RecalcFrameLayout(true);
    return true;
}

int CAppFrame::FindTab(HWND document, CImageFrame** frame) const
{
    const int count = static_cast<int>(SendMessageA(m_hWndTabStrip, TCM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        TCITEMA item{};
        item.mask = TCIF_PARAM;
        SendMessageA(m_hWndTabStrip, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
        auto* candidate = reinterpret_cast<CImageFrame*>(item.lParam);
        if (candidate && candidate->Handle() == document) {
            if (frame)
                *frame = candidate;
            return index;
        }
    }
    if (frame)
        *frame = nullptr;
    return -1;
}

// A new document is activated before its tab exists; its selection then comes
// from the creation itself.
void CAppFrame::OnDocActivated(HWND document)
{
    const int index = FindTab(document);
    if (index != SendMessageA(m_hWndTabStrip, TCM_GETCURSEL, 0, 0))
        SendMessageA(m_hWndTabStrip, TCM_SETCURSEL, index, 0);
    m_menuBar.SyncMdiChild();
}

void CAppFrame::OnTabSelChange()
{
    const int index = static_cast<int>(SendMessageA(m_hWndTabStrip, TCM_GETCURSEL, 0, 0));
    if (index < 0)
        return;
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    SendMessageA(m_hWndTabStrip, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    auto* document = reinterpret_cast<CImageFrame*>(item.lParam);
    if (document && document->Handle() != ActiveDocument())
        SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document->Handle()), 0);
}

void CAppFrame::OnDocPathChanged(HWND document, const char* path)
{
    const int index = FindTab(document);
    if (index < 0 || !path)
        return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(FileNamePart(path));
    SendMessageA(m_hWndTabStrip, TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
    // The window list under 窗口 is built from the titles and keeps the old one.
    m_mdiClientRouting.CallClient(WM_MDIREFRESHMENU, 0, 0);
}

// The document decides whether it may close; its tab goes with it.
LRESULT CAppFrame::OnMdiDestroy(HWND document)
{
    CImageFrame* frame = nullptr;
    const int index = FindTab(document, &frame);
    if (frame && !frame->QueryClose())
        return 0;
    if (index >= 0) {
        SendMessageA(m_hWndTabStrip, TCM_DELETEITEM, index, 0);
        if (SendMessageA(m_hWndTabStrip, TCM_GETITEMCOUNT, 0, 0) == 0) {
            // The document's menu goes with its window.
            m_menuBar.AttachMenu(m_hMenuDefault);
            RecalcFrameLayout(false);
            DisableImageCommands();
        }
    }
    return m_mdiClientRouting.CallClient(WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0);
}
