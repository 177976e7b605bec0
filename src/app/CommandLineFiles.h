#pragma once
#include <string>
#include <vector>

// The files named on a command line after the program's own name, split by the
// system's rules for quotes and backslashes, in the ANSI code page, each made a full
// path against the current folder (a document keeps the path it was opened with).
std::vector<std::string> CommandLineFiles(const wchar_t* commandLine);
