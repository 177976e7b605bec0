#include "HotkeyProbeWindow.h"

#include <cstdio>

std::string Beside(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self(path);
    return self.substr(0, self.find_last_of('\\') + 1) + name;
}

void Report(const char* name, const std::string& text)
{
    if (FILE* file = std::fopen(Beside(name).c_str(), "wb")) {
        std::fputs(text.c_str(), file);
        std::fclose(file);
    }
}

CHotkeyProbeWindow::CHotkeyProbeWindow(HINSTANCE instance)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "HotkeyProbeFrame";
    RegisterClassA(&windowClass);
    m_hWnd = CreateWindowExA(WS_EX_APPWINDOW, windowClass.lpszClassName, "probe", WS_OVERLAPPEDWINDOW, 100, 100,
                             400, 300, nullptr, nullptr, instance, nullptr);
    // Under Wine the notification area's own window takes the activation that the
    // frame gives up when it hides.
    m_icon.cbSize = sizeof(m_icon);
    m_icon.hWnd = m_hWnd;
    m_icon.uID = 1;
    m_icon.uFlags = NIF_ICON | NIF_TIP;
    m_icon.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    lstrcpynA(m_icon.szTip, "probe", sizeof(m_icon.szTip));
    Shell_NotifyIconA(NIM_ADD, &m_icon);
    ShowWindow(m_hWnd, SW_SHOW);
    SetForegroundWindow(m_hWnd);
}

CHotkeyProbeWindow::~CHotkeyProbeWindow()
{
    Shell_NotifyIconA(NIM_DELETE, &m_icon);
    DestroyWindow(m_hWnd);
}

bool CHotkeyProbeWindow::AwaitHotkey(DWORD deadlineMs, std::string& failure)
{
    if (!RegisterHotKey(m_hWnd, 1, MOD_CONTROL | MOD_SHIFT, VK_F9)) {
        failure = "hotkey taken";
        return false;
    }
    Report("frame-up.txt", "up");
    SetTimer(m_hWnd, 1, deadlineMs, nullptr);
    bool pressed = false;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_HOTKEY || (message.message == WM_TIMER && message.hwnd == m_hWnd)) {
            pressed = message.message == WM_HOTKEY;
            break;
        }
        DispatchMessageA(&message);
    }
    KillTimer(m_hWnd, 1);
    UnregisterHotKey(m_hWnd, 1);
    if (!pressed) {
        failure = "no hotkey";
        return false;
    }
    // From inside the hotkey's message, as the program's frame does it.
    ShowWindow(m_hWnd, SW_HIDE);
    return true;
}

namespace {
// A timer without a window carries no data of its own; one watch runs at a time.
struct Watch {
    const char* className;
    bool (*ready)(HWND);
    const char* upFile;
    DWORD deadlineMs;
    DWORD start;
    bool reported;
    bool timedOut;
} g_watch;

void CALLBACK WatchTick(HWND, UINT, UINT_PTR, DWORD)
{
    const HWND window = FindWindowA(g_watch.className, nullptr);
    if (window && g_watch.ready(window) && !g_watch.reported) {
        Report(g_watch.upFile, "up");
        g_watch.reported = true;
    }
    if (window && GetTickCount() - g_watch.start > g_watch.deadlineMs) {
        g_watch.timedOut = true;
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
}
}  // namespace

bool RunWatched(const char* className, bool (*ready)(HWND), const char* upFile, DWORD deadlineMs,
                const std::function<void()>& run)
{
    g_watch = Watch{className, ready, upFile, deadlineMs, GetTickCount(), false, false};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, WatchTick);
    run();
    KillTimer(nullptr, timer);
    return g_watch.timedOut;
}
