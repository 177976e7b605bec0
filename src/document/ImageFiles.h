#pragma once
#include <windows.h>

#include <string>

#include "util/FastString.h"
#include "util/FileReplacement.h"

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

// The file dialogs' filter lists: name (patterns), NUL, patterns, NUL for each
// format, the Open dialog's list with "all files" after them, ending in one more NUL.
using FilterString = Vorn::CFastString<1024>;
// Appends a string-table filter, whose "|" separators become the NULs the dialogs expect.
void AppendBarSeparated(FilterString& filter, const char* text);
void BuildOpenFilter(FilterString& filter);
void BuildSaveFilter(FilterString& filter);

// The Open command's dialog and reading: the bitmap of the chosen file, or null.
// pathBuffer (zeroed by the caller) receives the chosen path. A file that cannot be
// opened is reported as OpenImagePath does; a chosen path too long for the buffer is
// refused with a message naming it.
HBITMAP OpenImageFile(char (&pathBuffer)[MAX_PATH + 1]);

// The reading behind the Open command, also for files dropped on the program or
// named on its command line: the format from the extension, then the bitmap, or null.
// A file of no known type is refused with the unsupported-type message, one that
// cannot be read is reported with its name and the reason, and one that ends early
// opens with a message naming it as incomplete; all are owned by the frame.
HBITMAP OpenImagePath(const char* path);

// Reads a file of format code 0 (JPEG), 1 (BMP) or 2 (PNG) into a bitmap of the screen's
// kind; null, with the reason as the last error, when the reader fails or the bitmap
// cannot be made. *pIncomplete, when given, says whether the file ended before the
// picture did (the bitmap then shows the part it holds).
HBITMAP ReadImageFile(const char* path, int formatCode, bool* pIncomplete = nullptr);

// The Save As dialog proposing the name in nameBuffer, with the type its extension
// names (JPEG when it names none), then writing in the format the chosen name's
// extension names, or else in the chosen type's; nameBuffer receives the chosen full
// path. True when written; a failed write, or a path too long for nameBuffer, is
// reported in a message box with the file's name and the reason.
bool SaveImageAs(HBITMAP bitmap, char (&nameBuffer)[MAX_PATH]);

// Writes the bitmap as format code 0 (JPEG, quality 100), 1 (BMP) or 2 (PNG). An existing file
// is replaced only by a complete new one; auto-save passes kCreateNew, so that a taken
// name fails with ERROR_ALREADY_EXISTS instead of being overwritten. False with the
// reason as the last error; nothing is shown.
bool SaveImageFile(HBITMAP bitmap, int formatCode, const char* path,
                   CFileReplacement::Mode mode = CFileReplacement::kReplaceExisting);
