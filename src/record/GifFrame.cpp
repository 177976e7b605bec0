#include "record/GifFrame.h"

#include <utility>

#include "record/ColourTable.h"
#include "record/FrameDifference.h"
#include "record/GifPalette.h"
#include "record/NearestColour.h"
#include "record/TransparencyChoice.h"

namespace {
constexpr size_t kMaxPalette = 256;

// The colours of the pixels in rect, leaving out those equal to unchanged's when unchanged is
// given. Runs of one colour are counted in one step: screens are mostly runs.
CColourTable CountColours(const uint32_t* unchanged, const uint32_t* current, int width, const RECT& rect)
{
    CColourTable table;
    uint32_t runColour = 0, runLength = 0;
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        const size_t row = size_t(y) * width;
        for (LONG x = rect.left; x < rect.right; ++x) {
            const uint32_t pixel = current[row + x];
            if (unchanged && unchanged[row + x] == pixel)
                continue;
            if (runLength && pixel != runColour) {
                table.Add(runColour, runLength);
                runLength = 0;
            }
            runColour = pixel;
            ++runLength;
        }
    }
    if (runLength)
        table.Add(runColour, runLength);
    return table;
}
} // namespace

bool MakeGifFrame(const uint32_t* previous, const uint32_t* current, int width, int height, SGifFrame& frame)
{
    RECT rect;
    if (!FindChangedRect(previous, current, width, height, rect))
        return false;
    bool transparent = previous && TransparencySaves(previous, current, width, rect);
    CColourTable colours = CountColours(transparent ? previous : nullptr, current, width, rect);
    // The transparent index takes a palette entry; it is not worth colours that would
    // otherwise have been stored exactly.
    if (transparent && colours.Size() >= kMaxPalette) {
        CColourTable all = CountColours(nullptr, current, width, rect);
        if (all.Size() <= kMaxPalette) {
            transparent = false;
            colours = std::move(all);
        }
    }
    frame.rect = rect;
    frame.palette = ChooseGifPalette(colours, transparent ? kMaxPalette - 1 : kMaxPalette, frame.exact);
    CNearestColour nearest(frame.palette);
    colours.AssignIndices([&nearest](uint32_t colour) { return nearest.IndexOf(colour); });
    frame.transparent = -1;
    if (transparent) {
        frame.transparent = static_cast<int>(frame.palette.size());
        frame.palette.push_back(0);
    }
    frame.indices.resize(size_t(rect.right - rect.left) * (rect.bottom - rect.top));
    uint8_t* index = frame.indices.data();
    uint32_t lastColour = current[size_t(rect.top) * width + rect.left];
    uint8_t lastIndex = colours.IndexOf(lastColour);
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        const size_t row = size_t(y) * width;
        for (LONG x = rect.left; x < rect.right; ++x) {
            const uint32_t pixel = current[row + x];
            if (transparent && previous[row + x] == pixel) {
                *index++ = static_cast<uint8_t>(frame.transparent);
                continue;
            }
            if (pixel != lastColour) {
                lastColour = pixel;
                lastIndex = colours.IndexOf(pixel);
            }
            *index++ = lastIndex;
        }
    }
    return true;
}
