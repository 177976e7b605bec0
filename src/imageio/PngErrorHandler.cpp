#include "imageio/PngErrorHandler.h"

void PngErrorExit(png_structp, png_const_charp)
{
    throw "png error";
}

void IgnorePngWarning(png_structp, png_const_charp) {}
