#include "document/FileDropClipboard.h"

#include <shlobj.h>

#include <cstring>
#include <string>

#include "scoped/ScopedHandles.h"

namespace {
// A path of the ANSI code page as the wide characters the drop carries.
std::wstring WidePath(const char* path)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], length);
    return wide;  // with its terminator; the list ends in one more
}
}

DWORD PutFileDropOnClipboard(HWND owner, const char* path)
{
    const std::wstring name = WidePath(path);
    const size_t namesBytes = (name.size() + 1) * sizeof(wchar_t);
    CGlobalOwner block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + namesBytes));
    if (!block)
        return GetLastError();
    if (const CGlobalLock<BYTE> lock(block.get()); lock.Get()) {
        DROPFILES header{};
        header.pFiles = sizeof(DROPFILES);
        header.fWide = TRUE;
        std::memcpy(lock.Get(), &header, sizeof header);
        std::memcpy(lock.Get() + sizeof header, name.data(), name.size() * sizeof(wchar_t));
    } else {
        return GetLastError();
    }
    if (!OpenClipboard(owner))
        return GetLastError();
    EmptyClipboard();
    DWORD error = ERROR_SUCCESS;
    if (SetClipboardData(CF_HDROP, block.get()))
        block.release();  // the clipboard's now
    else
        error = GetLastError();
    CloseClipboard();
    return error;
}
