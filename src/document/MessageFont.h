#pragma once
#include <windows.h>

#include "scoped/ScopedHandles.h"
#include "ui/DpiScale.h"

// The system's message font at a window's DPI, for the Chinese and English text of the
// program's own windows.
CFontOwner MessageFont(const CDpiScale& dpi);
