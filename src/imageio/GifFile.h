#pragma once
#include <windows.h>

// GIF is opened as a picture (its first frame), never saved as one: it is no entry of
// g_imageFormats, whose position is the saved-format setting.
constexpr char kGifPatterns[] = "*.gif";

// True when the extension of a path's file name is .gif, ignoring case.
bool IsGifName(const char* path);

// The first frame of a GIF file as a viewer shows it, in a 32-bit top-down DIB section (see
// TopDownDib.h); null with the reason as the last error (see CGifAnimation::Open).
HBITMAP ReadGifFirstFrame(const char* path);
