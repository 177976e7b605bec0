// Starts an interactive region capture the way the program does: snapcore.dll loaded
// from beside this program, a main window with a notification icon that, when its
// hotkey Ctrl+Shift+F9 is pressed, hides and calls DoCaptureModal. Whoever drives it
// from outside watches three files beside it: frame-up.txt once the hotkey is
// registered, overlay-up.txt once the overlay is on the screen, and capture-result.txt
// at the end, holding "cancelled", the captured width and height, or what went wrong.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "snapcore.h"

namespace {

constexpr DWORD kDeadlineMs = 15000; // for the hotkey, and again for the capture
constexpr int kModeRegion = 2;

DWORD g_dwCaptureStart = 0;
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

// Runs inside the capture's message loop. An overlay that nobody ends is closed, so
// that the probe always ends, and the result says so.
void CALLBACK WatchOverlay(HWND, UINT, UINT_PTR, DWORD)
{
    static bool reported = false;
    const HWND overlay = FindWindowA("SnapcoreCaptureOverlay", nullptr);
    if (overlay && IsWindowVisible(overlay) && !reported) {
        Report("overlay-up.txt", "up");
        reported = true;
    }
    if (overlay && GetTickCount() - g_dwCaptureStart > kDeadlineMs) {
        g_bTimedOut = true;
        PostMessageA(overlay, WM_CLOSE, 0, 0);
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

std::string Capture(HWND frame, decltype(&DoCaptureModal) capture)
{
    if (!RegisterHotKey(frame, 1, MOD_CONTROL | MOD_SHIFT, VK_F9))
        return "hotkey taken";
    Report("frame-up.txt", "up");
    const bool pressed = WaitForHotkey(frame);
    UnregisterHotKey(frame, 1);
    if (!pressed)
        return "no hotkey";
    // From inside the hotkey's message, as the program's frame does it.
    ShowWindow(frame, SW_HIDE);
    Sleep(300);
    g_dwCaptureStart = GetTickCount();
    const UINT_PTR watch = SetTimer(nullptr, 0, 50, WatchOverlay);
    const HBITMAP bitmap = capture(kModeRegion, nullptr, nullptr);
    KillTimer(nullptr, watch);
    BITMAP shape{};
    const bool taken = bitmap && GetObjectA(bitmap, sizeof(shape), &shape);
    if (bitmap)
        DeleteObject(bitmap);
    if (g_bTimedOut)
        return "timed out: the keys did not reach the overlay";
    return taken ? std::to_string(shape.bmWidth) + " " + std::to_string(shape.bmHeight) : "cancelled";
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    const HMODULE engine = LoadLibraryA(Beside("snapcore.dll").c_str());
    const auto capture = reinterpret_cast<decltype(&DoCaptureModal)>(
        reinterpret_cast<void*>(engine ? GetProcAddress(engine, "DoCaptureModal") : nullptr));
    if (!capture) {
        Report("capture-result.txt", "no engine");
        return 1;
    }

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "OverlayKeysProbeFrame";
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

    Report("capture-result.txt", Capture(frame, capture));
    Shell_NotifyIconA(NIM_DELETE, &icon);
    DestroyWindow(frame);
    FreeLibrary(engine);
    return 0;
}
