#pragma once
#include <cstdint>
#include <vector>

// Pixels of one small cube of the colour space (5 bits a channel): how many, and their mean.
struct SColourBin {
    uint32_t colour;      // the mean, 0x00RRGGBB
    uint64_t pixels;
    uint64_t sums[3];     // red, green, blue
};

// The colours of a frame with too many of them for a palette, counted into 32 x 32 x 32
// cubes by direct index: a photo has tens of thousands of colours, but the cubes keep the
// sums that give every palette colour the exact mean of its pixels.
class CColourHistogram {
public:
    CColourHistogram();
    void Add(uint32_t pixel)
    {
        SColourBin& bin = m_bins[(pixel >> 9 & 0x7C00) | (pixel >> 6 & 0x3E0) | (pixel >> 3 & 0x1F)];
        ++bin.pixels;
        bin.sums[0] += pixel >> 16 & 0xFF;
        bin.sums[1] += pixel >> 8 & 0xFF;
        bin.sums[2] += pixel & 0xFF;
    }
    // The cubes that hold pixels, each with its mean colour.
    std::vector<SColourBin> Bins() const;

private:
    std::vector<SColourBin> m_bins;
};
