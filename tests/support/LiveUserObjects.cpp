#include "LiveUserObjects.h"

#include <windows.h>

namespace {
BOOL CALLBACK CountWindowAndChildren(HWND window, LPARAM count)
{
    ++*reinterpret_cast<size_t*>(count);
    EnumChildWindows(
        window,
        [](HWND, LPARAM inner) -> BOOL {
            ++*reinterpret_cast<size_t*>(inner);
            return TRUE;
        },
        count);
    return TRUE;
}

BOOL CALLBACK CountThreadWindows(HWND window, LPARAM count)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId() ? CountWindowAndChildren(window, count) : TRUE;
}

// Wine's own way to ask for an icon's or cursor's frame, which makes no bitmaps as
// GetIconInfo does.
bool IsIconOrCursor(HANDLE handle)
{
    using FrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);
    static const auto getFrameInfo = reinterpret_cast<FrameInfo>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
    DWORD rate = 0, frames = 0;
    return getFrameInfo && getFrameInfo(static_cast<HCURSOR>(handle), 0, 0, &rate, &frames) != nullptr;
}
}

// Wine's GetGuiResources always answers 0. There the windows of the process are
// enumerated, and its other USER objects found in its handle table: Wine numbers them
// from 0x20 in steps of 2 below 0xFFF0, and a handle without its upper word names
// whichever object holds that slot.
size_t LiveUserObjects()
{
    if (const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))
        return reported;
    size_t count = 0;
    EnumWindows(CountThreadWindows, reinterpret_cast<LPARAM>(&count));
    for (UINT_PTR value = 0x20; value < 0xFFF0; value += 2) {
        HANDLE handle = reinterpret_cast<HANDLE>(value);
        if (IsMenu(static_cast<HMENU>(handle)) || CopyAcceleratorTableA(static_cast<HACCEL>(handle), nullptr, 0) > 0 ||
            IsIconOrCursor(handle))
            ++count;
    }
    return count;
}
