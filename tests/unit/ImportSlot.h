#pragma once
#include <windows.h>

// The link name of this program's import-table slot for a system function; argBytes is
// the size of its arguments, which the 32-bit stdcall name carries. Declare a slot as
//     extern decltype(&GlobalAlloc) g_globalAllocSlot asm(IMPORT_SLOT_NAME(GlobalAlloc, 8));
#ifdef _WIN64
#define IMPORT_SLOT_NAME(function, argBytes) "__imp_" #function
#else
#define IMPORT_SLOT_NAME(function, argBytes) "__imp__" #function "@" #argBytes
#endif

// Points one import slot at another function while it lives, then back at the one it
// held. Every call the program's statically linked code makes to that function goes
// through the slot; a DLL has slots of its own and is not affected.
template <typename Function>
class CImportSlot {
public:
    CImportSlot(Function& slot, Function replacement) : m_slot(slot), m_original(Swap(slot, replacement)) {}
    ~CImportSlot() { Swap(m_slot, m_original); }
    CImportSlot(const CImportSlot&) = delete;
    CImportSlot& operator=(const CImportSlot&) = delete;

    // The function the slot held before, to pass calls on to.
    Function Original() const { return m_original; }

private:
    static Function Swap(Function& slot, Function function)
    {
        DWORD protection = 0;
        VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &protection);
        const Function previous = slot;
        slot = function;
        VirtualProtect(&slot, sizeof slot, protection, &protection);
        return previous;
    }

    Function& m_slot;
    const Function m_original;
};
