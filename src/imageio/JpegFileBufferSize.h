#pragma once

#include <windows.h>

// The JPEG source and destination managers move file data in blocks of this size.
// Larger than a disk page, so a multi-megabyte screenshot costs a few dozen system
// calls instead of hundreds (each one is dear under emulation).
constexpr DWORD kJpegFileBufferSize = 65536;
