#pragma once

// The last occurrence of an ASCII character in a string of the ANSI code page,
// walking character by character so that the trail byte of a double-byte character
// (which may be 0x5C, the backslash) is never taken for it. Null when absent.
const char* FindLastChar(const char* text, char ch);

// The part of a path after its last backslash, or the whole text when it has none.
const char* FileNamePart(const char* path);
