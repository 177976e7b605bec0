#pragma once
#include <windows.h>

#include "scoped/ScopedHandles.h"

// A copy of part (inside source) in the program's pixel layout; empty when it cannot be made.
CBitmapOwner CopyBitmapPart(HBITMAP source, const RECT& part);
