#pragma once

#include "util/FileReplacement.h"

class CDib;

// Reads a BMP file with a 12-, 40-, 52- or 56-byte header at 1, 2, 4, 8, 16, 24 or 32
// bits per pixel (palette images uncompressed) into an empty CDib. 1 on success, 0 on
// any failure with the reason as the last error (see CodecFailure.h); on failure the
// CDib may hold an unfilled block, which the caller releases.
int ReadBmpFile(const char* path, CDib& dib);

// Writes the CDib as it is held: file header, info header, colour table, pixels, through
// a CFileReplacement in the given mode, so a failed write leaves an existing file as it
// was. 1, or 0 with the reason as the last error.
int WriteBmpFile(CDib& dib, const char* path, CFileReplacement::Mode mode = CFileReplacement::kReplaceExisting);
