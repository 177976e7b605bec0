#include "ui/Window.h"

namespace {
const char kObjectProperty[] = "Lumigrab.Window";

// The object whose window is being created on this thread: the first messages
// (WM_GETMINMAXINFO, WM_NCCREATE) arrive before CreateWindowEx returns, and MDI
// children and dialogs do not hand our create parameter through.
thread_local CWindow* t_creating = nullptr;
}

CWindow::~CWindow()
{
    if (m_superProc)
        Unsubclass();
    else if (m_hWnd)
        RemovePropA(m_hWnd, kObjectProperty);
}

ATOM CWindow::RegisterClass(WNDCLASSEXA wc)
{
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = StaticWindowProc;
    return RegisterClassExA(&wc);
}

HWND CWindow::Create(const char* className, const char* text, DWORD style, DWORD exStyle,
                     int x, int y, int width, int height, HWND parent, HMENU menu)
{
    t_creating = this;
    HWND hWnd = CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent, menu,
                                GetModuleHandleA(nullptr), nullptr);
    t_creating = nullptr;
    return hWnd;
}

bool CWindow::Subclass(HWND hWnd)
{
    if (m_hWnd || !hWnd)
        return false;
    Attach(hWnd);
    m_superProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWindowProc)));
    return true;
}

void CWindow::Unsubclass()
{
    if (!m_superProc)
        return;
    SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
    RemovePropA(m_hWnd, kObjectProperty);
    m_superProc = nullptr;
    m_hWnd = nullptr;
}

bool CWindow::DestroyWindow()
{
    return m_hWnd && ::DestroyWindow(m_hWnd);
}

CWindow* CWindow::FromHandle(HWND hWnd)
{
    return static_cast<CWindow*>(GetPropA(hWnd, kObjectProperty));
}

void CWindow::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    SetPropA(hWnd, kObjectProperty, this);
}

LRESULT CWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CWindow::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_superProc)
        return CallWindowProcA(m_superProc, m_hWnd, msg, wParam, lParam);
    return DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

LRESULT CWindow::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_NCDESTROY)
        return WindowProc(msg, wParam, lParam);

    LRESULT result = WindowProc(msg, wParam, lParam);
    if (m_superProc)
        Unsubclass();
    else {
        RemovePropA(m_hWnd, kObjectProperty);
        m_hWnd = nullptr;
    }
    OnFinalMessage();
    return result;
}

LRESULT CALLBACK CWindow::StaticWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindow* window = FromHandle(hWnd);
    if (!window && t_creating) {
        window = t_creating;
        t_creating = nullptr;
        window->Attach(hWnd);
    }
    if (!window)
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    return window->Dispatch(msg, wParam, lParam);
}
