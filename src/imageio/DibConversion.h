#pragma once

#include <windows.h>

class CDib;

// One row of width pixels at the given depth as blue, green, red, the pixels
// targetStep bytes apart (3 for 24-bit rows, 4 for 32-bit ones, whose fourth bytes are
// left as they are): palette depths through the colour table, 16-bit 5-5-5 words scaled
// to 0..255, 32 bits without their fourth byte, 24 bits copied.
void ExpandRowToBgr(const BYTE* pSource, int bitsPerPixel, const RGBQUAD* pColors, BYTE* pTarget, int targetStep,
                    int width);

// Fills an already created 24-bit target of the same width and row count with the
// source's pixels as blue, green, red, row by row as ExpandRowToBgr turns them.
void ConvertTo24Bit(const CDib& source, CDib& target);

// What the writers encode: the source itself when it has 24 or 32 bits per pixel, else
// a 24-bit copy made in converted, with the source's densities. Throws std::bad_alloc.
const CDib& DirectOr24BitCopy(const CDib& source, CDib& converted);
