#pragma once
#include <windows.h>
#include <shellapi.h>

using ShellGetFileInfo = DWORD_PTR(WINAPI*)(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT);
// The import table's slot for SHGetFileInfoA.
#ifdef _WIN64
extern ShellGetFileInfo g_shellGetFileInfoSlot asm("__imp_SHGetFileInfoA");
#else
extern ShellGetFileInfo g_shellGetFileInfoSlot asm("__imp__SHGetFileInfoA@20");
#endif

// Counts the calls this program makes to the shell's SHGetFileInfoA and passes each
// on to the shell. Every caller in the program goes through one slot of the import
// table; while the counter lives, that slot points at it.
class CShellCallCounter {
public:
    CShellCallCounter()
    {
        s_calls = 0;
        s_real = Redirect(&Counting);
    }
    ~CShellCallCounter() { Redirect(s_real); }
    CShellCallCounter(const CShellCallCounter&) = delete;
    CShellCallCounter& operator=(const CShellCallCounter&) = delete;

    int Calls() const { return s_calls; }

private:
    using Function = ShellGetFileInfo;

    static DWORD_PTR WINAPI Counting(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags)
    {
        ++s_calls;
        return s_real(path, attributes, info, size, flags);
    }

    static Function Redirect(Function target)
    {
        DWORD protection = 0;
        VirtualProtect(&g_shellGetFileInfoSlot, sizeof g_shellGetFileInfoSlot, PAGE_READWRITE, &protection);
        const Function previous = g_shellGetFileInfoSlot;
        g_shellGetFileInfoSlot = target;
        VirtualProtect(&g_shellGetFileInfoSlot, sizeof g_shellGetFileInfoSlot, protection, &protection);
        return previous;
    }

    static inline Function s_real = nullptr;
    static inline int s_calls = 0;
};
