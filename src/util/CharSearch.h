#pragma once

// The last occurrence of an ASCII character in a string of the ANSI code page,
// walking character by character so that the trail byte of a double-byte character
// (which may be 0x5C, the backslash) is never taken for it. Null when absent.
const char* FindLastChar(const char* text, char ch);

// The part of a path after its last separator (a backslash, or the slash a typed path
// may use), or the whole text when it has none.
const char* FileNamePart(const char* path);

// The dot before the extension of a path's file name, or null when the name has none;
// a dot in a folder's name is no extension.
const char* FindExtensionDot(const char* path);
