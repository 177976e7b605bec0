#include "record/MedianCut.h"

#include <algorithm>

namespace {
int Channel(uint32_t colour, int channel) { return colour >> (16 - 8 * channel) & 0xFF; }

struct SBox {
    size_t begin, end;
    uint64_t pixels;
    int longest;    // channel: 0 red, 1 green, 2 blue
    int extent;     // of that channel; 0 when all colours in the box are one
    uint64_t Priority() const { return pixels * static_cast<uint64_t>(extent); }
};

SBox MakeBox(const std::vector<SColourCount>& colours, size_t begin, size_t end)
{
    SBox box{begin, end, 0, 0, 0};
    int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
    for (size_t i = begin; i < end; ++i) {
        box.pixels += colours[i].count;
        for (int c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], Channel(colours[i].colour, c));
            high[c] = std::max(high[c], Channel(colours[i].colour, c));
        }
    }
    for (int c = 0; c < 3; ++c)
        if (high[c] - low[c] > box.extent) {
            box.extent = high[c] - low[c];
            box.longest = c;
        }
    return box;
}

uint32_t MeanColour(const std::vector<SColourCount>& colours, const SBox& box)
{
    uint64_t sums[3] = {};
    for (size_t i = box.begin; i < box.end; ++i)
        for (int c = 0; c < 3; ++c)
            sums[c] += uint64_t{colours[i].count} * Channel(colours[i].colour, c);
    uint32_t mean = 0;
    for (int c = 0; c < 3; ++c)
        mean = mean << 8 | static_cast<uint32_t>((sums[c] + box.pixels / 2) / box.pixels);
    return mean;
}

// Sorts the box along its longest side and splits it where half of its pixels lie on each
// side, keeping a colour on either side.
std::pair<SBox, SBox> Cut(std::vector<SColourCount>& colours, const SBox& box)
{
    const auto first = colours.begin() + box.begin, last = colours.begin() + box.end;
    std::sort(first, last, [&box](const SColourCount& a, const SColourCount& b) {
        return Channel(a.colour, box.longest) < Channel(b.colour, box.longest);
    });
    size_t split = box.begin + 1;
    uint64_t below = colours[box.begin].count;
    while (split + 1 < box.end && 2 * below < box.pixels) {
        below += colours[split].count;
        ++split;
    }
    return {MakeBox(colours, box.begin, split), MakeBox(colours, split, box.end)};
}
} // namespace

std::vector<uint32_t> MedianCutPalette(std::vector<SColourCount> colours, size_t limit)
{
    std::vector<SBox> boxes;
    if (!colours.empty())
        boxes.push_back(MakeBox(colours, 0, colours.size()));
    while (!boxes.empty() && boxes.size() < limit) {
        const auto widest = std::max_element(boxes.begin(), boxes.end(), [](const SBox& a, const SBox& b) {
            return a.Priority() < b.Priority();
        });
        if (widest->extent == 0)
            break;
        const auto halves = Cut(colours, *widest);
        *widest = halves.first;
        boxes.push_back(halves.second);
    }
    std::vector<uint32_t> palette;
    for (const SBox& box : boxes)
        palette.push_back(MeanColour(colours, box));
    return palette;
}
