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

inline std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}
