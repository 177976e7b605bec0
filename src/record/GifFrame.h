#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// One frame as a GIF stores it: the rectangle of the screen frame that changed, its pixels as
// palette indices, the palette (<= 256 entries, 0x00RRGGBB), and the index that means
// "unchanged, show what was there" (-1 when none).
struct SGifFrame {
    RECT rect;                       // in the full frame; the whole frame for the first
    std::vector<uint8_t> indices;    // (rect width) * (rect height), top-down
    std::vector<uint32_t> palette;   // 1..256 colours
    int transparent = -1;
    bool exact = true;               // false when colours had to be reduced
};

// previous null: the first frame. Returns false when nothing changed (the caller lengthens
// the previous frame's delay instead).
bool MakeGifFrame(const uint32_t* previous, const uint32_t* current, int width, int height, SGifFrame& frame);
