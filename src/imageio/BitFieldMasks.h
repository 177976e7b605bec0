#pragma once

#include <windows.h>

// The red, green and blue masks of a BI_BITFIELDS bitmap of 16 or 32 bits per pixel.
// Each mask must be one contiguous run of bits inside the pixel, and no two may share
// a bit; the constructor throws the integer 1 (a format violation) otherwise.
class CBitFieldMasks {
public:
    CBitFieldMasks(DWORD dwRed, DWORD dwGreen, DWORD dwBlue, int bitsPerPixel);

    // Turns one stored row of width pixels into 32-bit pixels of the channels scaled
    // to 8 bits, blue, green, red, leaving each fourth byte as it is.
    void UnpackRow(const BYTE* pStored, BYTE* pTarget, int width) const noexcept;

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
