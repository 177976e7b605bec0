#pragma once
#include <cstdint>
#include <vector>

#include "record/ColourTable.h"

// The palette for the colours of a frame, at most limit entries: the colours themselves in
// ascending order when they fit (exact), so that a frame's palette does not depend on where
// its colours happen to lie; otherwise a palette chosen for these colours.
std::vector<uint32_t> ChooseGifPalette(const CColourTable& colours, size_t limit, bool& exact);
