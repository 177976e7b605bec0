#include "SystemCodePage.h"

#include <windows.h>

namespace snapcore {

bool ToSystemCodePage(const wchar_t* text, char* out, size_t outSize)
{
    BOOL lossy = FALSE;
    const int needed = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, &lossy);
    if (needed <= 0 || lossy || static_cast<size_t>(needed) > outSize)
        return false;
    return WideCharToMultiByte(CP_ACP, 0, text, -1, out, needed, nullptr, nullptr) == needed;
}

} // namespace snapcore
