#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "annotate/Annotation.h"
#include "scoped/ScopedHandles.h"

// A PNG saved from a document with marks shows the flattened picture to every program
// and carries, in the program's own chunk (see ReadPngFile), the picture without the
// marks and the marks themselves, so that the program opens it with every mark still
// editable. The chunk's layout is described in AnnotatedPng.cpp and in the help.

// The chunk for a document whose clean picture is clean and whose picture with the marks
// drawn, as it will be written, is flattened (both of the same size, 16, 24 or 32 bits).
// The clean picture is kept with every redaction and mosaic drawn into it: what they
// cover is in no byte of the chunk, though the marks themselves stay editable.
// False with the reason as the last error: ERROR_INVALID_DATA for a bitmap that cannot be
// read or objects outside what a stored list may hold (see AreStorableAnnotations),
// ERROR_INVALID_PARAMETER for bitmaps of different sizes, ERROR_NOT_ENOUGH_MEMORY.
bool PackAnnotatedImage(HBITMAP clean, HBITMAP flattened, const std::vector<Annotation>& objects, std::string& chunk);

// The clean picture, as a bitmap of the kind ReadImageFile makes, and the objects of a
// chunk read with the picture shown. kRestored only when the whole chunk is in order and
// was written for exactly these pixels. kOtherPicture for pixels another program has
// changed while keeping the chunk: the file is that plain picture. kFailed, with the
// reason as the last error, when the chunk was meant for these pixels (or cannot be told)
// but cannot be read: damaged, of an unknown version, or too large for the memory left.
// Unless kRestored, clean and objects are unchanged.
enum class MarksRestore { kRestored, kOtherPicture, kFailed };
MarksRestore UnpackAnnotatedImage(const std::string& chunk, HBITMAP shown, CBitmapOwner& clean,
                                  std::vector<Annotation>& objects);
