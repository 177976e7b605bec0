#ifndef SNAPCORE_VIRTUALSCREENCAPTURE_H
#define SNAPCORE_VIRTUALSCREENCAPTURE_H

#include "snapcore.h"

namespace snapcore {

// The bounding rectangle of all monitors, in screen coordinates.
RECT VirtualScreenRect();

// The whole virtual screen (every monitor, its top-left corner at pixel (0, 0)) as a
// new 32-bit bitmap that the caller owns; null when the screen cannot be read.
HBITMAP CaptureVirtualScreen(const CaptureOptions& options);

} // namespace snapcore

#endif
