#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The files a second start hands to the copy already running, as the data of one
// WM_COPYDATA: the tag below as its dwData, then a 32-bit version and a 32-bit count,
// then that many full paths in the ANSI code page, each ended by a zero byte, and
// nothing after them.
constexpr ULONG_PTR kHandedFilesTag = 0x4C474631;  // "LGF1"
constexpr DWORD kHandedFilesVersion = 1;

std::vector<char> PackHandedFiles(const std::vector<std::string>& files);

// The paths of a received block; false (and no paths) when the block is not one of
// ours: a wrong tag or version, a count or a path that does not fit in it, an empty
// path, or bytes left over. A path of any length is taken: opening it says whether the
// program can use it.
bool UnpackHandedFiles(const COPYDATASTRUCT& data, std::vector<std::string>& files);
