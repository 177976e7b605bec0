// The floors of a capture, and of starting a program with the program's windows.
//
// Bare (no "frame" on the command line): on its hotkey one BitBlt of the screen, then
// the window shows the picture at its client's top left.
//
// "frame": the window work lumigrab.exe cannot do without as well. It loads the same
// system DLLs and makes a frame with a rebar holding a menu row and a toolbar, a tab
// control, an MDI client, a status bar and a tray icon, and shows it. On its hotkey it
// hides the frame, BitBlts the screen, makes a maximised MDI child whose view (client
// edge, both scroll bars) shows the picture at its top left, adds its tab and shows
// the frame again. Command 1 closes the newest document. "documents=N" opens N
// documents at the start, kept out of the drawing (as the program keeps the documents
// a maximised one covers), so that only Wine's charge for N more windows is left.
//
// "hotkey=VK" makes the hotkey Ctrl+VK (a decimal virtual key; Ctrl+F7 when not given).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "ProgramDlls.h"
#include "scoped/ScopedHandles.h"

namespace {
constexpr char kBareClass[] = "CaptureFloor";
constexpr char kFrameClass[] = "FloorFrame";
constexpr char kDocumentClass[] = "FloorDocument";
constexpr char kViewClass[] = "FloorView";
constexpr UINT kCloseNewestDocument = 1;
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr int kToolBarButtons = 14;
constexpr int kDrawingBarButtons = 17;
constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

CBitmapOwner g_picture;

struct FrameWindows {
    HWND rebar = nullptr;
    HWND drawingBar = nullptr;
    HWND tabs = nullptr;
    HWND client = nullptr;
    HWND status = nullptr;
} g_frame;

void TakeScreen()
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const CScreenDC screen;
    const CMemoryDC memory(screen);
    g_picture.reset(CreateCompatibleBitmap(screen, width, height));
    const CSelectObject select(memory, g_picture.get());
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
}

void PaintPicture(HWND hWnd)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hWnd, &paint);
    if (g_picture) {
        const CMemoryDC memory(dc);
        const CSelectObject select(memory, g_picture.get());
        RECT client;
        GetClientRect(hWnd, &client);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    }
    EndPaint(hWnd, &paint);
}

void BringBack(HWND hWnd)
{
    ShowWindow(hWnd, SW_SHOW);
    SetForegroundWindow(hWnd);
}

// The scroll bars of a view at 100% of the screen's picture.
void SetViewScrollBars(HWND view)
{
    RECT client;
    GetClientRect(view, &client);
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, GetSystemMetrics(SM_CXSCREEN) - 1,
                    static_cast<UINT>(client.right), 0, 0};
    SetScrollInfo(view, SB_HORZ, &info, TRUE);
    info.nMax = GetSystemMetrics(SM_CYSCREEN) - 1;
    info.nPage = static_cast<UINT>(client.bottom);
    SetScrollInfo(view, SB_VERT, &info, TRUE);
}

LRESULT CALLBACK ViewProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        PaintPicture(hWnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        SetViewScrollBars(hWnd);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK DocumentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        CreateWindowExA(WS_EX_CLIENTEDGE, kViewClass, nullptr,
                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL, 0, 0, 0, 0, hWnd,
                        nullptr, GetModuleHandleA(nullptr), nullptr);
        break;
    case WM_SIZE:
        if (HWND view = GetWindow(hWnd, GW_CHILD))
            SetWindowPos(view, nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam), SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    return DefMDIChildProcA(hWnd, msg, wParam, lParam);
}

int WindowHeight(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

void LayOutFrame(HWND frame)
{
    RECT area;
    GetClientRect(frame, &area);
    SendMessageA(g_frame.rebar, WM_SIZE, 0, 0);
    SendMessageA(g_frame.status, WM_SIZE, 0, 0);
    area.top += WindowHeight(g_frame.rebar);
    area.bottom -= WindowHeight(g_frame.status);
    SetWindowPos(g_frame.tabs, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT display = area;
    SendMessageA(g_frame.tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    SetWindowPos(g_frame.client, HWND_TOP, area.left, display.top, area.right - area.left,
                 area.bottom > display.top ? area.bottom - display.top : 0, SWP_NOACTIVATE);
}

void AddDrawingBar(HWND frame);

HWND AddDocument()
{
    if (!g_frame.drawingBar)
        AddDrawingBar(GetParent(g_frame.client));
    MDICREATESTRUCTA create{kDocumentClass, "Capture", GetModuleHandleA(nullptr), CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, WS_MAXIMIZE | WS_CLIPCHILDREN, 0};
    HWND document = reinterpret_cast<HWND>(
        SendMessageA(g_frame.client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("Capture");
    const LRESULT count = SendMessageA(g_frame.tabs, TCM_GETITEMCOUNT, 0, 0);
    SendMessageA(g_frame.tabs, TCM_SETCURSEL, SendMessageA(g_frame.tabs, TCM_INSERTITEMA, count,
                                                           reinterpret_cast<LPARAM>(&item)), 0);
    return document;
}

void CloseNewestDocument()
{
    if (HWND document = reinterpret_cast<HWND>(SendMessageA(g_frame.client, WM_MDIGETACTIVE, 0, 0))) {
        SendMessageA(g_frame.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0);
        const LRESULT count = SendMessageA(g_frame.tabs, TCM_GETITEMCOUNT, 0, 0);
        SendMessageA(g_frame.tabs, TCM_DELETEITEM, count - 1, 0);
    }
}

// Buttons with the common controls' standard pictures unless style asks for a list of
// words, and a label under each unless there is no label.
HWND CreateToolBar(HWND parent, DWORD style, int buttons, const char* label)
{
    const bool pictures = !(style & TBSTYLE_LIST);
    HWND toolBar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                   kBarStyle | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN | TBSTYLE_FLAT | style,
                                   0, 0, 0, 0, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (pictures)
        SendMessageA(toolBar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    for (int index = 0; index < buttons; ++index) {
        char text[16] = "";
        if (label)
            wsprintfA(text, "%s%c", label, 'A' + index);
        const INT_PTR string = label ? SendMessageA(toolBar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(text)) : -1;
        const TBBUTTON button{pictures ? index % 15 : I_IMAGENONE, 100 + index, TBSTATE_ENABLED,
                              BTNS_BUTTON | BTNS_AUTOSIZE, {}, 0, string};
        SendMessageA(toolBar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    SendMessageA(toolBar, TB_SETMAXTEXTROWS, 1, 0);
    SendMessageA(toolBar, TB_AUTOSIZE, 0, 0);
    return toolBar;
}

void AddBand(HWND child, bool newRow)
{
    SIZE ideal{};
    SendMessageA(child, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_IDEALSIZE;
    band.fStyle = RBBS_CHILDEDGE | (newRow ? RBBS_BREAK : 0);
    band.hwndChild = child;
    band.cyMinChild = ideal.cy;
    band.cx = band.cxIdeal = ideal.cx;
    SendMessageA(g_frame.rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
}

// The row of drawing tools that comes with the first document: pictures only, and a
// list of widths among them.
void AddDrawingBar(HWND frame)
{
    g_frame.drawingBar = CreateToolBar(frame, TBSTYLE_TOOLTIPS, kDrawingBarButtons, nullptr);
    HWND widths = CreateWindowExA(0, WC_COMBOBOXA, nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST,
                                  kDrawingBarButtons * 24, 0, 60, 300, g_frame.drawingBar, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    for (const char* width : {"1", "2", "3", "4", "5", "6", "7", "8"})
        SendMessageA(widths, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(width));
    SendMessageA(widths, CB_SETCURSEL, 1, 0);
    AddBand(g_frame.drawingBar, true);
}

void CreateFrameWindows(HWND frame)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    g_frame.rebar = CreateWindowExA(0, REBARCLASSNAMEA, nullptr,
                                    kBarStyle | RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_AUTOSIZE | CCS_NODIVIDER, 0, 0,
                                    0, 0, frame, nullptr, instance, nullptr);
    AddBand(CreateToolBar(frame, TBSTYLE_LIST, 4, "Menu"), false);
    AddBand(CreateToolBar(frame, TBSTYLE_TOOLTIPS, kToolBarButtons, "Command"), true);
    g_frame.tabs = CreateWindowExA(0, WC_TABCONTROLA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame, nullptr,
                                   instance, nullptr);
    CLIENTCREATESTRUCT create{};
    create.idFirstChild = 0xFF00;
    g_frame.client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", nullptr,
                                     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, frame,
                                     nullptr, instance, &create);
    g_frame.status = CreateWindowExA(0, STATUSCLASSNAMEA, "Ready", kBarStyle | SBARS_SIZEGRIP, 0, 0, 0, 0, frame,
                                     nullptr, instance, nullptr);
    int panes[] = {200, 280, -1};
    SendMessageA(g_frame.status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(panes));
}

NOTIFYICONDATAA TrayIcon(HWND frame)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = frame;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    lstrcpynA(data.szTip, "Floor", sizeof data.szTip);
    return data;
}

LRESULT CALLBACK FrameProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        CreateFrameWindows(hWnd);
        NOTIFYICONDATAA tray = TrayIcon(hWnd);
        Shell_NotifyIconA(NIM_ADD, &tray);
        return 0;
    }
    case WM_HOTKEY:
        ShowWindow(hWnd, SW_HIDE);
        TakeScreen();
        AddDocument();
        LayOutFrame(hWnd);
        BringBack(hWnd);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kCloseNewestDocument) {
            CloseNewestDocument();
            return 0;
        }
        break;
    case WM_SIZE:
        LayOutFrame(hWnd);
        return 0;
    case WM_DESTROY: {
        NOTIFYICONDATAA tray = TrayIcon(hWnd);
        Shell_NotifyIconA(NIM_DELETE, &tray);
        PostQuitMessage(0);
        return 0;
    }
    }
    return DefFrameProcA(hWnd, g_frame.client, msg, wParam, lParam);
}

LRESULT CALLBACK BareProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_HOTKEY:
        TakeScreen();
        BringBack(hWnd);
        InvalidateRect(hWnd, nullptr, FALSE);
        UpdateWindow(hWnd);
        return 0;
    case WM_PAINT:
        PaintPicture(hWnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

void RegisterWindowClass(const char* name, WNDPROC proc, HBRUSH background)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

// The frame floor's documents opened at the start, each left out of the drawing.
void OpenCoveredDocuments(int count)
{
    if (count > 0)
        TakeScreen();
    for (int index = 0; index < count; ++index)
        SendMessageA(AddDocument(), WM_SETREDRAW, FALSE, 0);
}

int NumberAfter(const char* commandLine, const char* name, int fallback)
{
    const char* at = std::strstr(commandLine, name);
    return at ? std::atoi(at + std::strlen(name)) : fallback;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
    const bool frame = std::strstr(commandLine, "frame") != nullptr;
    if (frame) {
        LoadProgramDlls();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        RegisterWindowClass(kFrameClass, FrameProc, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
        RegisterWindowClass(kDocumentClass, DocumentProc, nullptr);
        RegisterWindowClass(kViewClass, ViewProc, nullptr);
    } else {
        RegisterWindowClass(kBareClass, BareProc, nullptr);
    }
    HWND hWnd = CreateWindowExA(0, frame ? kFrameClass : kBareClass, "Floor",
                                WS_OVERLAPPEDWINDOW | (frame ? WS_CLIPCHILDREN : 0), CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!RegisterHotKey(hWnd, 1, MOD_CONTROL, static_cast<UINT>(NumberAfter(commandLine, "hotkey=", VK_F7))))
        return 1;
    if (frame) {
        OpenCoveredDocuments(NumberAfter(commandLine, "documents=", 0));
        ShowWindow(hWnd, show);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    g_picture.reset();
    return 0;
}
