#include "record/MedianCut.h"

#include <algorithm>

namespace {
int Channel(uint32_t colour, int channel) { return colour >> (16 - 8 * channel) & 0xFF; }

struct SBox {
    size_t begin, end;
    uint64_t pixels;
    int longest;    // channel: 0 red, 1 green, 2 blue
    int extent;     // of that channel; 0 when all bins in the box are one
    int top;        // the highest value of that channel
    uint64_t Priority() const { return pixels * static_cast<uint64_t>(extent); }
};

SBox MakeBox(const std::vector<SColourBin>& bins, size_t begin, size_t end)
{
    SBox box{begin, end, 0, 0, 0, 0};
    int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
    for (size_t i = begin; i < end; ++i) {
        box.pixels += bins[i].pixels;
        for (int c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], Channel(bins[i].colour, c));
            high[c] = std::max(high[c], Channel(bins[i].colour, c));
        }
    }
    for (int c = 0; c < 3; ++c)
        if (high[c] - low[c] > box.extent) {
            box.extent = high[c] - low[c];
            box.longest = c;
        }
    box.top = high[box.longest];
    return box;
}

uint32_t MeanColour(const std::vector<SColourBin>& bins, const SBox& box)
{
    uint64_t sums[3] = {};
    for (size_t i = box.begin; i < box.end; ++i)
        for (int c = 0; c < 3; ++c)
            sums[c] += bins[i].sums[c];
    uint32_t mean = 0;
    for (int c = 0; c < 3; ++c)
        mean = mean << 8 | static_cast<uint32_t>((sums[c] + box.pixels / 2) / box.pixels);
    return mean;
}

// Splits the box across its longest side at the value below which half of its pixels lie,
// short of the top so that each side keeps a colour. A partition, not a sort: photos bring
// tens of thousands of bins.
std::pair<SBox, SBox> Cut(std::vector<SColourBin>& bins, const SBox& box)
{
    uint64_t pixelsAt[256] = {};
    for (size_t i = box.begin; i < box.end; ++i)
        pixelsAt[Channel(bins[i].colour, box.longest)] += bins[i].pixels;
    int median = 0;
    uint64_t below = pixelsAt[0];
    while (2 * below < box.pixels)
        below += pixelsAt[++median];
    median = std::min(median, box.top - 1);
    const auto split = std::partition(bins.begin() + box.begin, bins.begin() + box.end,
                                      [&box, median](const SColourBin& colour) {
                                          return Channel(colour.colour, box.longest) <= median;
                                      });
    const size_t middle = static_cast<size_t>(split - bins.begin());
    return {MakeBox(bins, box.begin, middle), MakeBox(bins, middle, box.end)};
}
} // namespace

std::vector<uint32_t> MedianCutPalette(std::vector<SColourBin> bins, size_t limit)
{
    std::vector<SBox> boxes;
    if (!bins.empty())
        boxes.push_back(MakeBox(bins, 0, bins.size()));
    while (!boxes.empty() && boxes.size() < limit) {
        const auto widest = std::max_element(boxes.begin(), boxes.end(), [](const SBox& a, const SBox& b) {
            return a.Priority() < b.Priority();
        });
        if (widest->extent == 0)
            break;
        const auto halves = Cut(bins, *widest);
        *widest = halves.first;
        boxes.push_back(halves.second);
    }
    std::vector<uint32_t> palette;
    for (const SBox& box : boxes)
        palette.push_back(MeanColour(bins, box));
    return palette;
}
