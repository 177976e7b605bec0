#pragma once
#include <windows.h>

#include <cstdint>

// The bounding box of the pixels of current that differ from previous (both width x height,
// top-down); the whole frame when previous is null. False, and rect untouched, when no
// pixel differs.
bool FindChangedRect(const uint32_t* previous, const uint32_t* current, int width, int height, RECT& rect);
