#include "gui/MenuBarTestHost.h"

#include <cstring>

#include "res/resource.h"

namespace {
const char kHostClass[] = "MenuBarTestHost";
const char kChildClass[] = "MenuBarTestChild";
const int kFirstMdiChildId = 0xFF00;
}

const UINT CToolbarImages::kCommands[13] = {57601, 57603, 32800, 32801, 32802, 32803, 32804,
                                            32805, 32806, 40000, 32807, 32808, 32823};

CMenuBarTestHost::CMenuBarTestHost()
{
    WNDCLASSEXA wc{};
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHostClass;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    RegisterClass(wc);
    Create(kHostClass, "host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 640, 400, nullptr,
           nullptr);
    m_bar.Create(Handle(), Handle(), LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)));
    Layout();
    SetForegroundWindow(Handle());
    UpdateWindow(Handle());
}

CMenuBarTestHost::~CMenuBarTestHost()
{
    DestroyWindow();
}

HWND CMenuBarTestHost::CreateMdiClient()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefMDIChildProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kChildClass;
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    RegisterClassExA(&wc);

    CLIENTCREATESTRUCT client = {nullptr, kFirstMdiChildId};
    m_hMdiClient = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                                   Handle(), nullptr, GetModuleHandleA(nullptr), &client);
    Layout();
    m_bar.SetMdiClient(m_hMdiClient);
    return m_hMdiClient;
}

HWND CMenuBarTestHost::CreateMdiChild(const char* title)
{
    MDICREATESTRUCTA create{};
    create.szClass = kChildClass;
    create.szTitle = title;
    create.hOwner = GetModuleHandleA(nullptr);
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.style = WS_OVERLAPPEDWINDOW;
    return reinterpret_cast<HWND>(SendMessageA(m_hMdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

void CMenuBarTestHost::Layout()
{
    RECT client;
    GetClientRect(Handle(), &client);
    const SIZE bar = m_bar.GetIdealSize();
    SetWindowPos(m_bar, nullptr, 0, 0, client.right, bar.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_hMdiClient)
        SetWindowPos(m_hMdiClient, nullptr, 0, bar.cy, client.right, client.bottom - bar.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CMenuBarTestHost::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        m_commands.push_back(LOWORD(wParam));
        return 0;
    case WM_INITMENUPOPUP:
        m_openedPopups.push_back(reinterpret_cast<HMENU>(wParam));
        if (m_onInitMenuPopup)
            m_onInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MENUSELECT:
        if (HIWORD(wParam) != 0xFFFF)
            m_selectedItems.push_back(LOWORD(wParam));
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU && m_bar.OnKeyMenu(lParam))
            return 0;
        break;
    case WM_SIZE:
        if (m_bar.Handle())
            Layout();
        return 0;
    }
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CMenuBarTestHost::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcA(Handle(), m_hMdiClient, msg, wParam, lParam);
}

CToolbarImages::CToolbarImages()
    : m_hNormal(ImageList_Create(16, 15, ILC_COLOR8 | ILC_MASK, 13, 0)),
      m_hDisabled(ImageList_Create(16, 15, ILC_COLOR8 | ILC_MASK, 13, 0))
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    auto load = [instance](int id) {
        return static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    };
    HBITMAP mask = load(IDB_TOOLBAR_MASK);
    HBITMAP normal = load(IDB_TOOLBAR);
    HBITMAP disabled = load(IDB_TOOLBAR_DISABLED);
    ImageList_Add(m_hNormal, normal, mask);
    ImageList_Add(m_hDisabled, disabled, mask);
    DeleteObject(disabled);
    DeleteObject(normal);
    DeleteObject(mask);
}

CToolbarImages::~CToolbarImages()
{
    ImageList_Destroy(m_hDisabled);
    ImageList_Destroy(m_hNormal);
}

HWND FindPopupMenuWindow()
{
    HWND popup = FindWindowA("#32768", nullptr);
    return popup && IsWindowVisible(popup) ? popup : nullptr;
}

void PostMenuKey(WPARAM key)
{
    PostMessageA(FindPopupMenuWindow(), WM_KEYDOWN, key, 0);
}
