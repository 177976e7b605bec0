#pragma once
#include <windows.h>

#include <string>

// The system's own wording of an error code, without the line break it ends with; the
// number when the system has no words for it.
std::string SystemReason(DWORD dwError);
