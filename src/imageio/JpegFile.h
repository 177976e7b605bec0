#pragma once

#include "util/FileReplacement.h"

class CDib;

// Reads a JPEG/JFIF file into an empty CDib as a 32-bit top-down DIB section (see
// CDib::CreateSection): greyscale, colour and CMYK/YCCK alike as blue, green, red and an
// unused fourth byte; the JFIF density becomes pixels per metre. A file cut off early still loads, as kImageReadIncomplete. 1 on
// success, 0 on any failure with the reason as the last error (see ImageReadResult.h);
// on failure the CDib may hold a partly decoded block, which the caller releases.
int ReadJpegFile(const char* path, CDib& dib);

// Writes the CDib as a baseline JFIF file at the given quality (the save path uses 100),
// with its density in dots per centimetre, through a CFileReplacement in the given mode,
// so a failed write leaves an existing file as it was. The CDib is not changed. 1, or 0
// with the reason as the last error.
int WriteJpegFile(CDib& dib, const char* path, int quality,
                  CFileReplacement::Mode mode = CFileReplacement::kReplaceExisting);
