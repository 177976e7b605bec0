#include "WindowPicker.h"

#include <new>

namespace snapcore {
namespace {

constexpr DWORD kDwmCloaked = 14; // DWMWA_CLOAKED

// Windows 8 and later keep some windows "visible" but cloaked: suspended store apps,
// windows on other virtual desktops. They are not on the screen, so they must not be
// picked. dwmapi is looked up at run time; it does not exist everywhere.
bool IsCloaked(HWND window)
{
    using GetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    static const GetAttributeFn getAttribute = [] {
        const HMODULE dwm = LoadLibraryA("dwmapi.dll");
        return dwm ? reinterpret_cast<GetAttributeFn>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")))
                   : nullptr;
    }();
    DWORD cloaked = 0;
    return getAttribute && SUCCEEDED(getAttribute(window, kDwmCloaked, &cloaked, sizeof(cloaked))) && cloaked;
}

LONG Area(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }

struct ChildSearch {
    HWND hParent;
    POINT point;
    HWND hBest;   // null until a child contains the point
    RECT rcBest;
};

// Among the visible direct children that contain the point, the smallest one wins:
// a group box or a panel lies above the controls it surrounds in z-order, but the
// user means the control.
BOOL CALLBACK ConsiderChild(HWND child, LPARAM state)
{
    auto& search = *reinterpret_cast<ChildSearch*>(state);
    RECT rect;
    if (GetParent(child) != search.hParent || !IsWindowVisible(child) || !GetWindowRect(child, &rect)
        || !PtInRect(&rect, search.point))
        return TRUE;
    if (!search.hBest || Area(rect) < Area(search.rcBest)) {
        search.hBest = child;
        search.rcBest = rect;
    }
    return TRUE;
}

} // namespace

CWindowPicker::CWindowPicker(const RECT& screen) : m_rcScreen(screen)
{
    EnumWindows(AddTopLevel, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK CWindowPicker::AddTopLevel(HWND window, LPARAM self)
{
    auto& picker = *reinterpret_cast<CWindowPicker*>(self);
    Entry entry{window, {}};
    if (!IsWindowVisible(window) || IsIconic(window) || !GetWindowRect(window, &entry.rect)
        || !IntersectRect(&entry.rect, &entry.rect, &picker.m_rcScreen) || IsCloaked(window))
        return TRUE;
    // No exception may unwind through the system's enumeration.
    try {
        picker.m_entries.push_back(entry);
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

const CWindowPicker::Entry* CWindowPicker::EntryAt(POINT point) const
{
    for (const Entry& entry : m_entries)
        if (PtInRect(&entry.rect, point))
            return &entry;
    return nullptr;
}

bool CWindowPicker::TopLevelAt(POINT point, RECT* rect) const
{
    const Entry* entry = EntryAt(point);
    if (entry)
        *rect = entry->rect;
    return entry != nullptr;
}

bool CWindowPicker::ObjectAt(POINT point, RECT* rect) const
{
    const Entry* entry = EntryAt(point);
    if (!entry)
        return false;
    // A child's part outside its parent is not on the screen, so each level is clipped
    // to the one above it.
    RECT visible = entry->rect;
    for (HWND parent = entry->hWnd;;) {
        ChildSearch search{parent, point, nullptr, {}};
        EnumChildWindows(parent, ConsiderChild, reinterpret_cast<LPARAM>(&search));
        if (!search.hBest || !IntersectRect(&search.rcBest, &search.rcBest, &visible))
            break;
        parent = search.hBest;
        visible = search.rcBest;
    }
    *rect = visible;
    return true;
}

} // namespace snapcore
