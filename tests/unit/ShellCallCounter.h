#pragma once
#include <windows.h>
#include <shellapi.h>

#include "unit/ImportSlot.h"

extern decltype(&SHGetFileInfoA) g_shellGetFileInfoSlot asm(IMPORT_SLOT_NAME(SHGetFileInfoA, 20));

// Counts the calls this program makes to the shell's SHGetFileInfoA and passes each
// on to the shell. Every caller in the program goes through one slot of the import
// table; while the counter lives, that slot points at it.
class CShellCallCounter {
public:
    CShellCallCounter()
    {
        s_calls = 0;
        s_real = m_slot.Original();
    }

    int Calls() const { return s_calls; }

private:
    static DWORD_PTR WINAPI Counting(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags)
    {
        ++s_calls;
        return s_real(path, attributes, info, size, flags);
    }

    CImportSlot<decltype(&SHGetFileInfoA)> m_slot{g_shellGetFileInfoSlot, &Counting};
    static inline decltype(&SHGetFileInfoA) s_real = nullptr;
    static inline int s_calls = 0;
};
