#pragma once
#include <cstdint>
#include <vector>

#include "record/ColourTable.h"

// A palette of at most limit colours for colours with their pixel counts: the colour cube is
// cut, box by box, at the pixel-weighted median of its longest side, and each box gives the
// weighted mean of its colours. Fewer colours only when no box can be cut any more.
std::vector<uint32_t> MedianCutPalette(std::vector<SColourCount> colours, size_t limit);
