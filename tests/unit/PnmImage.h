#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A binary PGM (P5) or PPM (P6) file of 8-bit samples, as the native tools write them.
struct PnmImage {
    int width = 0;
    int height = 0;
    // Red, green, blue per pixel, top row first; grey samples are repeated three times.
    std::vector<BYTE> rgb;
};

// False when the file is missing or not an 8-bit P5/P6 file.
bool ReadPnmFile(const std::string& path, PnmImage& image);

// The largest difference of one sample between two images of the same size.
int LargestSampleDifference(const std::vector<BYTE>& a, const std::vector<BYTE>& b);
