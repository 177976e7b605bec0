#pragma once
// The system DLLs lumigrab.exe imports, loaded by the floors that are to pay what
// Wine charges for them.
#include <windows.h>

#include <initializer_list>

inline void LoadProgramDlls()
{
    for (const char* name : {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdiplus.dll", "ole32.dll", "shell32.dll",
                             "shlwapi.dll", "winmm.dll"})
        LoadLibraryA(name);
}
