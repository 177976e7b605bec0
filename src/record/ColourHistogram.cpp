#include "record/ColourHistogram.h"

CColourHistogram::CColourHistogram() : m_bins(32 * 32 * 32, SColourBin{0, 0, {0, 0, 0}}) {}

std::vector<SColourBin> CColourHistogram::Bins() const
{
    std::vector<SColourBin> used;
    for (SColourBin bin : m_bins)
        if (bin.pixels) {
            bin.colour = 0;
            for (const uint64_t sum : bin.sums)
                bin.colour = bin.colour << 8 | static_cast<uint32_t>((sum + bin.pixels / 2) / bin.pixels);
            used.push_back(bin);
        }
    return used;
}
