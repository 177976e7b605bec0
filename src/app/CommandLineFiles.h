#pragma once
#include <string>
#include <vector>

// What a command line asks of the program: the files named after its own name, split
// by the system's rules for quotes and backslashes, each made a full path against the
// current folder (a document keeps the path it was opened with) in the ANSI code page
// as AnsiPathOf gives it, and the switches, which are not files. A switch is /new or /tray, with a
// slash or a hyphen, in any case.
struct CommandLineRequest {
    std::vector<std::string> files;
    bool newCopy = false;  // /new: run beside a copy that is already running
    bool tray = false;     // /tray: start in the notification area
};

CommandLineRequest ReadCommandLine(const wchar_t* commandLine);
