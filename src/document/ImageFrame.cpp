#include "document/ImageFrame.h"

#include "document/DocumentMessages.h"
#include "document/DocumentTitle.h"
#include "res/resource.h"
#include "ui/UpdateUI.h"
#include "util/AppMessageBox.h"
#include "util/FastString.h"

namespace {
const char kFrameClass[] = "LumigrabImage";
constexpr int kImagePopup = 2;

void RegisterFrameClass()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    if (GetClassInfoExA(instance, kFrameClass, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_IMAGETYPE), IMAGE_ICON, 32, 32, 0));
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_IMAGETYPE), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kFrameClass;
    CWindow::RegisterClass(wc);
}

// The window-list popup is the second to last one, when it is the window menu.
HMENU WindowListPopup(HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    if (count < 2)
        return nullptr;
    char text[32] = {};
    GetMenuStringA(menu, count - 2, text, sizeof(text), MF_BYPOSITION);
    Vorn::CFastString<64> expected;
    expected.LoadString(IDS_WINDOW_MENU);
    return lstrcmpA(text, expected.GetString()) == 0 ? GetSubMenu(menu, count - 2) : nullptr;
}
}

CImageFrame* CImageFrame::Create(HWND mdiClient, const char* title, CImageDocument& document,
                                 IImageEditors& editors)
{
    RegisterFrameClass();
    auto* frame = new CImageFrame(document, editors);
    frame->m_hWndMDIClient = mdiClient;

    HWND active = reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
    BOOL maximized = FALSE;
    if (active)
        SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
    if (maximized)
        SendMessageA(mdiClient, WM_SETREDRAW, FALSE, 0);

    HWND hWnd = frame->CWindow::Create(kFrameClass, title,
                                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW,
                                       WS_EX_MDICHILD, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                       mdiClient, nullptr);
    if (hWnd)
        frame->m_bWindowOwnsObject = true;
    if (maximized) {
        if (hWnd)
            SendMessageA(mdiClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(hWnd), 0);
        SendMessageA(mdiClient, WM_SETREDRAW, TRUE, 0);
        // Only what shows: the documents under the new one would each be framed and
        // painted for nothing.
        RedrawWindow(mdiClient, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        if (hWnd)
            RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        SetFocus(GetParent(mdiClient));
    } else if (hWnd && IsWindowVisible(hWnd) && !IsChild(hWnd, GetFocus())) {
        SetFocus(hWnd);
    }
    if (!hWnd) {
        // A window refused in WM_CREATE is destroyed already, but left the object to us.
        delete frame;
        return nullptr;
    }
    return frame;
}

CImageFrame::~CImageFrame() = default;

LRESULT CImageFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        m_hDocMenu.reset(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_IMAGETYPE)));
        if (!m_imageView.CreateView(Handle()))
            return -1;
        break;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED && m_imageView.Handle())
            SetWindowPos(m_imageView.Handle(), nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam),
                         SWP_NOZORDER | SWP_NOACTIVATE);
        break;  // the MDI child's own processing still needs it
    case WM_SETFOCUS:
        if (m_imageView.Handle()) {
            SetFocus(m_imageView.Handle());
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        if (m_imageView.Handle())
            return 1;
        break;
    case WM_MDIACTIVATE:
        OnMdiActivate(reinterpret_cast<HWND>(lParam));
        break;
    case WM_APP_GET_IMAGE_MENU:
        return reinterpret_cast<LRESULT>(wParam == kImageMenuRequest ? ImageMenu() : nullptr);
    case WM_COMMAND:
        if (m_commands.OnCommand(LOWORD(wParam)))
            return 0;
        SendMessageA(m_imageView.Handle(), msg, wParam, lParam);
        return 0;
    case WM_APP_ANNOTATION_CHANGED:
        SendMessageA(m_imageView.Handle(), msg, wParam, lParam);
        return 0;
    case WM_APP_DOC_EDITED:
        m_commands.UpdateTitle();
        return 0;
    case WM_DESTROY:
        m_hDocMenu.reset();
        break;
    }
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CImageFrame::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefMDIChildProcA(Handle(), msg, wParam, lParam);
}

HMENU CImageFrame::ImageMenu() const
{
    return m_hDocMenu ? GetSubMenu(m_hDocMenu.get(), kImagePopup) : nullptr;
}

void CImageFrame::OnMdiActivate(HWND activated)
{
    if (activated != Handle()) {
        m_imageView.SetUpdateUI(nullptr);
        return;
    }
    SendMessageA(m_hWndMDIClient, WM_APP_DOC_ACTIVATED, reinterpret_cast<WPARAM>(Handle()), 0);
    m_imageView.SetUpdateUI(&g_updateUI);
    m_imageView.UpdateCommandUI();
    SendMessageA(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(m_hDocMenu.get()),
                 reinterpret_cast<LPARAM>(WindowListPopup(m_hDocMenu.get())));
    DrawMenuBar(GetParent(m_hWndMDIClient));
}

bool CImageFrame::QueryClose()
{
    m_imageView.FinishText();
    if (!m_document.IsModified())
        return true;
    char name[MAX_PATH];
    ReadDocumentName(Handle(), name);
    switch (AppMessageBox(Handle(), IDS_SAVE_PROMPT, MB_YESNOCANCEL | MB_ICONQUESTION, name)) {
    case IDYES:
        return m_commands.SaveBeforeClose();
    case IDNO:
        return true;
    default:
        return false;
    }
}
