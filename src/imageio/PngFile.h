#pragma once

#include "util/FileReplacement.h"

class CDib;

// Reads a PNG file of any colour type and bit depth, interlaced or not, into an empty
// CDib as 24 bits blue, green, red, bottom-up: palettes and grey are expanded, 16-bit
// samples rounded to 8, transparent and translucent pixels (alpha channel or tRNS)
// composited over white; a pHYs density in pixels per metre is kept; other ancillary
// chunks are skipped unread. A file that ends among the pixels loads what it holds, as
// kImageReadIncomplete. 1 on success, 0 on any failure with the reason as the last
// error (see ImageReadResult.h); on failure the CDib may hold a partly decoded block,
// which the caller releases.
int ReadPngFile(const char* path, CDib& dib);

// Writes the CDib as an 8-bit RGB PNG with its density, through a CFileReplacement in
// the given mode, so a failed write leaves an existing file as it was. The CDib is not
// changed. 1, or 0 with the reason as the last error.
int WritePngFile(CDib& dib, const char* path, CFileReplacement::Mode mode = CFileReplacement::kReplaceExisting);
