#include "record/GifFrame.h"

#include <utility>

#include "record/ColourHistogram.h"
#include "record/ColourTable.h"
#include "record/FrameDifference.h"
#include "record/MedianCut.h"
#include "record/NearestColour.h"
#include "record/TransparencyChoice.h"

namespace {
constexpr size_t kMaxPalette = 256;

// Calls use(pixel) for the pixels of rect in coding order, leaving out those equal to
// unchanged's when unchanged is given, until use answers false.
template <typename Use>
void ForEachStoredPixel(const uint32_t* unchanged, const uint32_t* current, int width, const RECT& rect, Use&& use)
{
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        const size_t row = size_t(y) * width;
        for (LONG x = rect.left; x < rect.right; ++x)
            if (!(unchanged && unchanged[row + x] == current[row + x]) && !use(current[row + x]))
                return;
    }
}

// The distinct stored colours into table; false as soon as there are more than limit.
bool CountColours(const uint32_t* unchanged, const uint32_t* current, int width, const RECT& rect, size_t limit,
                  CColourTable& table)
{
    // Screens are mostly runs: one look-up a run.
    uint32_t last = ~0u;
    ForEachStoredPixel(unchanged, current, width, rect, [&](uint32_t pixel) {
        if (pixel != last) {
            table.Add(pixel);
            last = pixel;
        }
        return table.Size() <= limit;
    });
    return table.Size() <= limit;
}

template <typename Lookup>
void StoreIndices(const uint32_t* unchanged, const uint32_t* current, int width, SGifFrame& frame, Lookup&& lookup)
{
    const RECT& rect = frame.rect;
    frame.indices.resize(size_t(rect.right - rect.left) * (rect.bottom - rect.top));
    uint8_t* index = frame.indices.data();
    uint32_t lastColour = 0;
    uint8_t lastIndex = 0;
    bool known = false;
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        const size_t row = size_t(y) * width;
        for (LONG x = rect.left; x < rect.right; ++x) {
            const uint32_t pixel = current[row + x];
            if (unchanged && unchanged[row + x] == pixel) {
                *index++ = static_cast<uint8_t>(frame.transparent);
                continue;
            }
            if (!known || pixel != lastColour) {
                lastColour = pixel;
                lastIndex = lookup(pixel);
                known = true;
            }
            *index++ = lastIndex;
        }
    }
}
} // namespace

bool MakeGifFrame(const uint32_t* previous, const uint32_t* current, int width, int height, SGifFrame& frame)
{
    RECT rect;
    if (!FindChangedRect(previous, current, width, height, rect))
        return false;
    const uint32_t* unchanged = previous && TransparencySaves(previous, current, width, rect) ? previous : nullptr;
    CColourTable colours;
    bool exact = CountColours(unchanged, current, width, rect, unchanged ? kMaxPalette - 1 : kMaxPalette, colours);
    // The transparent index takes a palette entry; it is not worth colours that would
    // otherwise have been stored exactly.
    if (!exact && unchanged) {
        CColourTable all;
        if (CountColours(nullptr, current, width, rect, kMaxPalette, all)) {
            unchanged = nullptr;
            colours = std::move(all);
            exact = true;
        }
    }
    frame.rect = rect;
    frame.exact = exact;
    if (exact) {
        frame.palette = colours.SortedColours();
        colours.AssignIndices(frame.palette);
    } else {
        CColourHistogram histogram;
        ForEachStoredPixel(unchanged, current, width, rect, [&histogram](uint32_t pixel) {
            histogram.Add(pixel);
            return true;
        });
        frame.palette = MedianCutPalette(histogram.Bins(), unchanged ? kMaxPalette - 1 : kMaxPalette);
    }
    frame.transparent = unchanged ? static_cast<int>(frame.palette.size()) : -1;
    if (exact) {
        StoreIndices(unchanged, current, width, frame, [&colours](uint32_t pixel) { return colours.IndexOf(pixel); });
    } else {
        CNearestColour nearest(frame.palette);
        StoreIndices(unchanged, current, width, frame, [&nearest](uint32_t pixel) { return nearest.IndexOf(pixel); });
    }
    if (unchanged)
        frame.palette.push_back(0);
    return true;
}
