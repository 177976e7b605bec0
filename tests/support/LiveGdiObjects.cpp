#include "LiveGdiObjects.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>

namespace {

struct HandleEntry { uint64_t object; uint32_t owner; uint16_t unique; uint8_t type; uint8_t flags; uint64_t user; };
static_assert(sizeof(HandleEntry) == 24, "64-bit GDI handle table entry");
constexpr size_t kHandleEntries = 0x10000;

// The process's GDI handle table, which the PEB points to as on Windows; null where it
// cannot be read.
const HandleEntry* GdiHandleTable()
{
    if (sizeof(void*) != 8)
        return nullptr;
    const auto getPeb = reinterpret_cast<PPEB(NTAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetCurrentPeb")));
    if (!getPeb)
        return nullptr;
    // GdiSharedHandleTable sits at 0xF8 in the 64-bit PEB.
    return *reinterpret_cast<const HandleEntry* const*>(reinterpret_cast<const BYTE*>(getPeb()) + 0xF8);
}

} // namespace

// Wine's GetGuiResources always answers 0; there the handle table is counted instead.
size_t LiveGdiObjects()
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0)
        return reported;
    const HandleEntry* table = GdiHandleTable();
    if (!table)
        return 0;
    return static_cast<size_t>(
        std::count_if(table, table + kHandleEntries, [](const HandleEntry& entry) { return entry.type != 0; }));
}

std::optional<size_t> LiveDibSectionBytes()
{
    const HandleEntry* table = GdiHandleTable();
    if (!table || GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) != 0)
        return std::nullopt;
    size_t bytes = 0;
    for (size_t index = 0; index < kHandleEntries; ++index) {
        if (!table[index].type)
            continue;
        // A handle is its entry's index with the entry's unique value above it.
        const auto object = reinterpret_cast<HGDIOBJ>(index | static_cast<uintptr_t>(table[index].unique) << 16);
        DIBSECTION section{};
        if (GetObjectType(object) == OBJ_BITMAP && GetObjectA(object, sizeof(section), &section) == sizeof(section))
            bytes += static_cast<size_t>(section.dsBm.bmWidthBytes) * section.dsBm.bmHeight;
    }
    return bytes;
}
