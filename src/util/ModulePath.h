#pragma once

#include <windows.h>

// The program's own files (snapcore.dll, lumigrab.cfg, oteditor.cfg, help.chm) live
// next to the executable; the current directory is never used.

// Puts fileName in the folder of the executable. False when the executable's path
// cannot be obtained or the result does not fit.
bool MakeModuleFilePath(const char* fileName, char (&path)[MAX_PATH]);

// Cuts modulePath after its last backslash and appends fileName. The search respects
// double-byte characters of the ANSI code page, whose trail byte may be 0x5C. False
// when modulePath has no backslash or the result does not fit.
bool MakeSiblingPath(const char* modulePath, const char* fileName, char (&path)[MAX_PATH]);
