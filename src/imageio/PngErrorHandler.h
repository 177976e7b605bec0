#pragma once

#include <png.h>

// libpng's error callback: throws the text "png error". zlib and libpng are built with
// -fexceptions, so the throw may cross their frames; the owner of the png_struct then
// destroys it on the way out.
[[noreturn]] void PngErrorExit(png_structp png, png_const_charp message);

// libpng's warning callback: warnings (a damaged ancillary chunk, say) are never shown.
void IgnorePngWarning(png_structp png, png_const_charp message);
