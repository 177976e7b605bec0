// Shows the capture desk the way the program does: a main window with a notification
// icon that, when its hotkey Ctrl+Shift+F9 is pressed, hides and runs the desk over a
// frame of the whole screen with the selection (100, 100)-(300, 250). Whoever drives it
// from outside watches three files beside it: frame-up.txt once the hotkey is
// registered, desk-up.txt once the desk has the keyboard, and desk-result.txt at the
// end: "cancelled", or "copy", the selection and the number of marks, or what went wrong.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "annotate/AnnotationTools.h"
#include "capture/desk/CaptureDesk.h"
#include "imageio/TopDownDib.h"

namespace {
constexpr DWORD kDeadlineMs = 15000;  // for the hotkey, and again for the desk
DWORD g_dwDeskStart = 0;
bool g_bTimedOut = false;

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

// Runs inside the desk's message loop; a desk nobody ends is closed, which cancels it.
void CALLBACK WatchDesk(HWND, UINT, UINT_PTR, DWORD)
{
    static bool reported = false;
    const HWND desk = FindWindowA("LumigrabCaptureDesk", nullptr);
    if (desk && GetFocus() == desk && !reported) {
        Report("desk-up.txt", "up");
        reported = true;
    }
    if (desk && GetTickCount() - g_dwDeskStart > kDeadlineMs) {
        g_bTimedOut = true;
        PostMessageA(desk, WM_CLOSE, 0, 0);
    }
}

bool WaitForHotkey(HWND frame)
{
    SetTimer(frame, 1, kDeadlineMs, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_HOTKEY)
            return true;
        if (message.message == WM_TIMER && message.hwnd == frame)
            return false;
        DispatchMessageA(&message);
    }
    return false;
}

std::string RunDesk(HWND frame)
{
    if (!RegisterHotKey(frame, 1, MOD_CONTROL | MOD_SHIFT, VK_F9))
        return "hotkey taken";
    Report("frame-up.txt", "up");
    const bool pressed = WaitForHotkey(frame);
    UnregisterHotKey(frame, 1);
    if (!pressed)
        return "no hotkey";
    ShowWindow(frame, SW_HIDE);
    DWORD* pixels = nullptr;
    const CBitmapOwner screen =
        CreateTopDownDib(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), pixels);
    CAnnotationTools tools;
    CSettings settings;
    g_dwDeskStart = GetTickCount();
    const UINT_PTR watch = SetTimer(nullptr, 0, 50, WatchDesk);
    const DeskResult result = RunCaptureDesk(screen.get(), POINT{0, 0}, RECT{100, 100, 300, 250}, tools, settings);
    KillTimer(nullptr, watch);
    if (g_bTimedOut)
        return "timed out: the keys did not reach the desk";
    if (result.action == DeskAction::kCancelled)
        return "cancelled";
    const RECT& r = result.rcSelection;
    return (result.action == DeskAction::kCopy ? "copy " : "other ") + std::to_string(r.left) + " " +
           std::to_string(r.top) + " " + std::to_string(r.right) + " " + std::to_string(r.bottom) + " marks " +
           std::to_string(result.marks.size());
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "DeskKeysProbeFrame";
    RegisterClassA(&windowClass);
    const HWND frame = CreateWindowExA(WS_EX_APPWINDOW, windowClass.lpszClassName, "probe", WS_OVERLAPPEDWINDOW,
                                       100, 100, 400, 300, nullptr, nullptr, instance, nullptr);
    // Under Wine the notification area's own window takes the activation that the
    // frame gives up when it hides.
    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = frame;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_TIP;
    icon.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    lstrcpynA(icon.szTip, "probe", sizeof(icon.szTip));
    Shell_NotifyIconA(NIM_ADD, &icon);
    ShowWindow(frame, SW_SHOW);
    SetForegroundWindow(frame);

    Report("desk-result.txt", RunDesk(frame));
    Shell_NotifyIconA(NIM_DELETE, &icon);
    DestroyWindow(frame);
    return 0;
}
