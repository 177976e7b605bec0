#pragma once
#include <windows.h>

#include <functional>
#include <string>

// The first top-level window of this thread for which matches holds; null when none does.
inline HWND FindThreadWindow(const std::function<bool(HWND)>& matches)
{
    struct Search { const std::function<bool(HWND)>& matches; HWND found; } search{matches, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM state) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(state);
            if (!s.matches(window))
                return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::string WindowClass(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The first window of the class among parent's children and theirs, of any process.
inline HWND FindChildOfClass(HWND parent, const char* className)
{
    struct Search {
        const char* name;
        HWND found;
    } search{className, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            if (WindowClass(child) != s->name)
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of a window of this process or another.
inline std::string WindowText(HWND window)
{
    char text[1024] = "";
    // WM_GETTEXT crosses process boundaries, GetWindowText does not for controls. Not
    // SMTO_ABORTIFHUNG: a program that has just waited 5 s for another copy counts as
    // hung until its message box's loop first reads the queue, and the text came back empty.
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, nullptr);
    return text;
}

// Whether the top-level window of the class, of this process or another, is in the
// foreground with the keyboard focus on itself.
inline bool HasKeyboard(const char* className)
{
    HWND window = FindWindowA(className, nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return window && GetForegroundWindow() == window &&
           GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus == window;
}
