#include "record/TransparencyChoice.h"

namespace {
// No pixel (0x00RRGGBB) has this value.
constexpr uint64_t kUnchanged = uint64_t{1} << 32;
}

bool TransparencySaves(const uint32_t* previous, const uint32_t* current, int width, const RECT& rect)
{
    size_t runsWith = 0, runsWithout = 0;
    uint64_t lastWith = ~uint64_t{0}, lastWithout = ~uint64_t{0};
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        const size_t row = size_t(y) * width;
        for (LONG x = rect.left; x < rect.right; ++x) {
            const uint32_t pixel = current[row + x];
            const uint64_t with = pixel == previous[row + x] ? kUnchanged : pixel;
            runsWith += with != lastWith;
            runsWithout += pixel != lastWithout;
            lastWith = with;
            lastWithout = pixel;
        }
    }
    return runsWith < runsWithout;
}
