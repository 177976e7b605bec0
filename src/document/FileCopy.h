#pragma once
#include <windows.h>

// Copies source onto target through the program's one way of writing files, so that a
// failure part-way leaves an existing target as it was. Throws Vorn::CWin32Error with the
// system's reason.
void CopyFileReplacing(const char* source, const char* target);
