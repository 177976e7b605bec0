// The skins this library offers, in the order callers index them.
#ifndef SNAPCORE_SKINTABLE_H
#define SNAPCORE_SKINTABLE_H

#include "SkinStyle.h"

namespace snapcore {

int SkinCount();

// The skin at index; an index outside the table gives the first skin, so a stale
// setting still draws something sensible.
const SkinStyle& SkinAt(int index);

} // namespace snapcore

#endif
