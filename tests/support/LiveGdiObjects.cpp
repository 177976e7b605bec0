#include "LiveGdiObjects.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>

// Live GDI objects of this process. Wine's GetGuiResources always answers 0; there the
// process's GDI handle table, which the PEB points to as on Windows, is counted instead.
size_t LiveGdiObjects()
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0 || sizeof(void*) != 8)
        return reported;
    struct HandleEntry { uint64_t object; uint32_t owner; uint16_t unique; uint8_t type; uint8_t flags; uint64_t user; };
    static_assert(sizeof(HandleEntry) == 24, "64-bit GDI handle table entry");
    const auto getPeb = reinterpret_cast<PPEB(NTAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetCurrentPeb")));
    if (!getPeb)
        return 0;
    // GdiSharedHandleTable sits at 0xF8 in the 64-bit PEB.
    const auto* table = *reinterpret_cast<const HandleEntry* const*>(reinterpret_cast<const BYTE*>(getPeb()) + 0xF8);
    if (!table)
        return 0;
    return static_cast<size_t>(
        std::count_if(table, table + 0x10000, [](const HandleEntry& entry) { return entry.type != 0; }));
}
