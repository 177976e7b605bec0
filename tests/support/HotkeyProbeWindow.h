#pragma once
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

// The path of a file beside this program: a probe and the script that drives it talk
// through such files.
std::string Beside(const char* name);
void Report(const char* name, const std::string& text);

// A probe's main window as the program has one: shown, in the foreground and with a
// notification icon, waiting for the hotkey Ctrl+Shift+F9 before it hides.
class CHotkeyProbeWindow {
public:
    explicit CHotkeyProbeWindow(HINSTANCE instance);
    ~CHotkeyProbeWindow();
    CHotkeyProbeWindow(const CHotkeyProbeWindow&) = delete;
    CHotkeyProbeWindow& operator=(const CHotkeyProbeWindow&) = delete;

    // Reports frame-up.txt once the hotkey is registered and hides the window when it is
    // pressed within deadlineMs; otherwise says why not ("hotkey taken", "no hotkey").
    bool AwaitHotkey(DWORD deadlineMs, std::string& failure);

private:
    HWND m_hWnd = nullptr;
    NOTIFYICONDATAA m_icon{};
};

// Runs a modal loop (run) while a timer in it watches the window of className: the
// first time ready(window) holds, upFile is reported; a window still there deadlineMs
// after the start is closed, so that the probe always ends. True when it had to be closed.
bool RunWatched(const char* className, bool (*ready)(HWND), const char* upFile, DWORD deadlineMs,
                const std::function<void()>& run);
