#pragma once

#include <windows.h>

class CDib;

// The red, green and blue masks of a BI_BITFIELDS bitmap of 16 or 32 bits per pixel.
// Each mask must be one contiguous run of bits inside the pixel, and no two may share
// a bit; the constructor throws the integer 1 (a format violation) otherwise.
class CBitFieldMasks {
public:
    CBitFieldMasks(DWORD dwRed, DWORD dwGreen, DWORD dwBlue, int bitsPerPixel);

    // Fills a created 24-bit target of the source's width and height (same sign) with
    // each pixel's channels scaled to 8 bits, blue, green, red.
    void Unpack(const CDib& source, CDib& target) const noexcept;

private:
    struct Channel {
        DWORD dwMask;
        int shift;
        int bits;  // the length of the run

        BYTE Scaled(DWORD dwPixel) const noexcept;
    };

    static Channel MakeChannel(DWORD dwMask, int bitsPerPixel);

    Channel m_red;
    Channel m_green;
    Channel m_blue;
    int m_bytesPerPixel;
};
