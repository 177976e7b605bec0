#pragma once
#include <windows.h>

// Whether key, a character as WM_CHAR or WM_SYSCHAR report it, is the access key of
// a menu text ("文件(&F)" has F). Letters match in either case; "&&" is a literal
// ampersand; a double-byte character after the ampersand is taken whole, never split.
bool MenuAccessKeyMatches(const char* text, UINT key);
