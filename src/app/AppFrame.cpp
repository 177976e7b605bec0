#include "app/AppFrame.h"

#include "app/Application.h"
#include "res/resource.h"
#include "util/FastString.h"

namespace {
const char kFrameClass[] = "LumigrabFrame";

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
}

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
    HMENU menu = LoadMenuA(g_app.Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    HWND hWnd = Create(kFrameClass, title.GetString(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                       WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, nullptr, menu);
    if (!hWnd) {
        DestroyMenu(menu);
        return nullptr;
    }
    m_hAccel = LoadAcceleratorsA(g_app.Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    return hWnd;
}

LRESULT CAppFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_DESTROY:
        return OnDestroy();
    }
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CAppFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == ID_APP_EXIT) {
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        return 0;
    }
    return DefaultProc(WM_COMMAND, wParam, lParam);
}

LRESULT CAppFrame::OnDestroy()
{
    // Only a top-level frame ends the program.
    if (!(GetWindowLongPtrA(Handle(), GWL_STYLE) & (WS_CHILD | WS_POPUP)))
        PostQuitMessage(1);
    return 0;
}
