#pragma once
#include <cstdint>
#include <vector>

#include "record/ColourHistogram.h"

// A palette of at most limit colours for a frame's colour bins: the colour cube is cut, box by
// box, at the pixel-weighted median of its longest side, and each box gives the mean of its
// pixels. Fewer colours only when no box can be cut any more.
std::vector<uint32_t> MedianCutPalette(std::vector<SColourBin> bins, size_t limit);
