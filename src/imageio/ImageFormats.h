#pragma once
#include <windows.h>

#include <string>

#include "util/FileReplacement.h"

class CDib;

// The image file formats the program reads and writes; the position in the table is
// the format code (also the saved-format setting and the Save As filter index - 1).
struct ImageFormat {
    const char* name;
    const char* patterns;   // "*.ext" patterns separated by ';'
    const char* extension;  // without the dot
};
constexpr int kImageFormatCount = 3;
extern const ImageFormat g_imageFormats[kImageFormatCount];

// The format whose pattern list holds the extension (no dot), or -1.
int FindImageFormat(const char* extension);
// True when one "*.ext" pattern of the list is the extension, ignoring case.
bool MatchFilterExtension(const char* patternList, const char* extension);
// The format the extension of a path's file name names, or -1 (no extension, or another).
int ImageFormatOfName(const char* path);
// The path with its file name's extension replaced by the given one (no dot), or with it
// appended when the name has none.
std::string ChangeExtension(const char* path, const char* extension);

// Reads a file of format code 0 (JPEG), 1 (BMP) or 2 (PNG) into a 32-bit top-down DIB
// section (see TopDownDib.h), the reader's own; null, with the reason as the last
// error, when the reader fails (a section too large to make is ERROR_NOT_ENOUGH_MEMORY). *pIncomplete, when given, says whether the file ended before the
// picture did (the bitmap then shows the part it holds). *privateChunk, when given,
// receives the program's own PNG chunk (see ReadPngFile); it is empty for the other
// formats and whenever the file has none whole.
HBITMAP ReadImageFile(const char* path, int formatCode, bool* pIncomplete = nullptr,
                      std::string* privateChunk = nullptr);

// Writes the bitmap as format code 0 (JPEG, quality 100), 1 (BMP) or 2 (PNG). An existing file
// is replaced only by a complete new one; auto-save passes kCreateNew, so that a taken
// name fails with ERROR_ALREADY_EXISTS instead of being overwritten. A private chunk is
// written into a PNG only (see WritePngFile); JPEG and BMP files never carry one. A DIB
// section's rows are encoded where they lie (see CDib::FromBitmap). False with the
// reason as the last error; nothing is shown.
bool SaveImageFile(HBITMAP bitmap, int formatCode, const char* path,
                   CFileReplacement::Mode mode = CFileReplacement::kReplaceExisting,
                   const std::string* privateChunk = nullptr);
