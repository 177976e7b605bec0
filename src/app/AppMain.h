#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The exit code of a start that found another copy running that did not take its files.
constexpr int kNotAnsweringExitCode = 2;

// The whole life of the process: the hand-over to a copy already running (exit code
// 0), or initialisation, the main frame with the files named on the command line, its
// message loop, and the teardown. Returns the process exit code.
int LumigrabMain(HINSTANCE hInstance, int showCmd);

// Creates the message loop and the main frame, opens the files once the frame is
// shown (hidden by the tray icon for a start with /tray), and pumps until the frame is
// gone; returns the loop's exit code, or 0 when the frame could not be created.
int Run(int showCmd, const std::vector<std::string>& files, bool tray = false);
