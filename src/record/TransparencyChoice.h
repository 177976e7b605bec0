#pragma once
#include <windows.h>

#include <cstdint>

// Whether showing the pixels of rect that equal previous as transparent makes the frame
// smaller. LZW codes long runs of one index cheaply, so the estimate is the number of runs
// of equal values (in the order the frame is coded) with and without them.
bool TransparencySaves(const uint32_t* previous, const uint32_t* current, int width, const RECT& rect);
