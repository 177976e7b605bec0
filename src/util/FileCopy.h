#pragma once
#include <windows.h>

#include "util/FileReplacement.h"

// Copies a file's bytes onto target through a CFileReplacement in mode, so a failure part-way
// leaves the target as it was (kCreateNew: an existing target is never touched). False with the
// reason as the last error.
bool CopyFileReplacing(const char* source, const char* target, CFileReplacement::Mode mode);
