#pragma once

#include <png.h>
#include <zlib.h>

// The row filters and zlib settings the program writes screenshots with (the benchmark
// compresses its reference with the same). PLACEHOLDER until measured.
inline void SetScreenshotCompression(png_structp png)
{
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_compression_level(png, 6);
}
