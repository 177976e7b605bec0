#pragma once
#include <string>

// A path from a wide source (the command line, a drop) in the ANSI code page that the
// program's file functions take. A name the code page cannot hold goes by its short
// name where the file system has one; otherwise it keeps the '?' the conversion put in
// its place, which no file name can contain, so that it can be refused by name.
std::string AnsiPathOf(const wchar_t* path);

// True for a path with such a '?': a name the program cannot use. The "\\?\" prefix
// is not one.
bool HasUnusableName(const char* path);
