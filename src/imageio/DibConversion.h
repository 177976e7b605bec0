#pragma once

class CDib;

// Fills an already created 24-bit target of the same width and row count with the
// source's pixels as blue, green, red: palette depths through the colour table,
// 16-bit 5-5-5 words scaled to 0..255, 32 bits without their fourth byte, 24 bits copied.
void ConvertTo24Bit(const CDib& source, CDib& target);

// Exchanges bytes 0 and 2 of every pixel of a 24-bit image (RGB <-> blue, green, red).
void SwapRedBlue(CDib& dib);

// What the writers encode: the source itself when it has 24 or 32 bits per pixel, else
// a 24-bit copy made in converted, with the source's densities. Throws std::bad_alloc.
const CDib& DirectOr24BitCopy(const CDib& source, CDib& converted);
