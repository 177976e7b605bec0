#include "record/GifPalette.h"

#include <algorithm>

#include "record/MedianCut.h"

std::vector<uint32_t> ChooseGifPalette(const CColourTable& colours, size_t limit, bool& exact)
{
    const std::vector<SColourCount> counted = colours.Colours();
    exact = counted.size() <= limit;
    if (!exact)
        return MedianCutPalette(counted, limit);
    std::vector<uint32_t> palette;
    for (const SColourCount& colour : counted)
        palette.push_back(colour.colour);
    std::sort(palette.begin(), palette.end());
    return palette;
}
