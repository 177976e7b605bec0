#pragma once

#include <string>

// The native (Linux) side of the machine the tests run on under Wine: its tools
// (djpeg, ImageMagick) serve as independent oracles for the codecs.

// The Unix path of a Windows path, for a native command line.
std::string UnixPath(const std::string& windowsPath);

// Runs a command (no double quotes in it) with the native /bin/sh and returns its exit status, or -1 when it
// could not be started or did not finish within a minute. Wine gives no waitable
// handle for a native process, so the shell leaves its status in a file we poll for.
int RunNativeShell(const std::string& command);
