#pragma once
#include <windows.h>

#include "scoped/ScopedHandles.h"

// The layout the program keeps working pixels in: 32 bits a pixel (0x00RRGGBB, the top
// byte unused), rows from the top down with no padding, so that pixel (x, y) is
// pixels[y * width + x]. GDI and GDI+ draw into such a DIB section directly, and every
// image's pixels can be read or written in place without asking GDI for a copy.

// The header of a DIB of this layout, width x height pixels, without a colour table.
BITMAPINFO TopDownDibInfo(int width, int height);

// A DIB section of this layout, for the caller to fill, with pixels set to its first
// pixel. Empty, and pixels null, when it cannot be made. Pixels that GDI has drawn are
// there to read after GdiFlush.
CBitmapOwner CreateTopDownDib(int width, int height, DWORD*& pixels);
