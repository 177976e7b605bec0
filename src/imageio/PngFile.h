#pragma once

#include <string>

#include "util/FileReplacement.h"

class CDib;

// Reads a PNG file of any colour type and bit depth, interlaced or not, into an empty
// CDib as a 32-bit top-down DIB section (see CDib::CreateSection): palettes and grey
// are expanded, 16-bit samples rounded to 8, transparent and translucent pixels (alpha
// channel or tRNS) composited over white; a pHYs density in pixels per metre is kept; other ancillary
// chunks are skipped unread. A file that ends among the pixels loads what it holds, as
// kImageReadIncomplete. 1 on success, 0 on any failure with the reason as the last
// error (see ImageReadResult.h); on failure the CDib may hold a partly decoded block,
// which the caller releases.
int ReadPngFile(const char* path, CDib& dib);
// The same, and privateChunk receives the data of the program's own chunk, "lgAN"
// (ancillary, private, unsafe to copy; the first one when there are more) when the
// pixels before it are whole; otherwise it is empty. A damaged one (wrong checksum,
// cut off, larger than the file or the size limit) is left out and costs the picture
// nothing.
int ReadPngFile(const char* path, CDib& dib, std::string* privateChunk);

// Writes the CDib as an 8-bit RGB PNG with its density, through a CFileReplacement in
// the given mode, so a failed write leaves an existing file as it was; a private chunk,
// when given, is written as "lgAN" after the pixels (one larger than the size limit in
// ImageSizeLimit.h fails with ERROR_FILE_TOO_LARGE). The CDib is not changed. 1, or 0
// with the reason as the last error.
int WritePngFile(CDib& dib, const char* path, CFileReplacement::Mode mode = CFileReplacement::kReplaceExisting,
                 const std::string* privateChunk = nullptr);

// A PNG stream in memory: the bytes WritePngFile would write (without a private chunk),
// and the reading of such bytes as ReadPngFile reads a file (kImageReadIncomplete for a
// stream cut off among the pixels). 1, or 0 with the reason as the last error; on a
// failed encode the bytes are unchanged.
int EncodePngBytes(const CDib& dib, std::string& bytes);
int DecodePngBytes(const std::string& bytes, CDib& dib);
