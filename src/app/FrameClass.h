#pragma once
#include <windows.h>

// What a later start needs to find the running copy's frame and read its answer.
constexpr char kFrameClassName[] = "LumigrabFrame";
// The answer to WM_COPYDATA with the files of a later start, once they are taken.
constexpr LRESULT kFilesTaken = 1;

// Registers the frame's window class with the program's icons, once per process.
void RegisterFrameClass();
