#pragma once
#include <windows.h>

// The whole life of the process: initialisation, the main frame and its message
// loop, and the teardown. Returns the process exit code.
int LumigrabMain(HINSTANCE hInstance, int showCmd);

// Creates the message loop and the main frame and pumps until the frame is gone;
// returns the loop's exit code, or 0 when the frame could not be created.
int Run(int showCmd);
