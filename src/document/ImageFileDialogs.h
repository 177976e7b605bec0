#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "annotate/Annotation.h"

#include "imageio/ImageFormats.h"
#include "util/FastString.h"

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
// A PNG that keeps the marks of the document it was saved from gives its clean
// pixels, and the marks in objects when given.
HBITMAP OpenImageFile(char (&pathBuffer)[MAX_PATH + 1], std::vector<Annotation>* objects = nullptr);

// The reading behind the Open command, also for files dropped on the program or
// named on its command line: the format from the extension, then the bitmap, or null.
// A file of no known type is refused with the unsupported-type message, one that
// cannot be read is reported with its name and the reason, and one that ends early
// opens with a message naming it as incomplete; a PNG whose marks were saved for its
// pixels but cannot be restored opens flattened, with a message saying that saving
// keeps it so; all are owned by the frame.
HBITMAP OpenImagePath(const char* path, std::vector<Annotation>* objects = nullptr);

// The Save As dialog proposing the name in nameBuffer, with the type its extension
// names (JPEG when it names none), then writing in the format the chosen name's
// extension names, or else in the chosen type's, through write(format code, path);
// nameBuffer receives the chosen full path. True when written; a failed write (false
// from write, with the reason as the last error), or a path too long for nameBuffer,
// is reported in a message box with the file's name and the reason.
using ImageWriter = std::function<bool(int format, const char* path)>;
bool SaveImageAs(const ImageWriter& write, char (&nameBuffer)[MAX_PATH]);
